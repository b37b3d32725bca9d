#include "layout/intermediate/intermediate_writer.h"

#include "layout/intermediate/record_codec.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace quarnel::layout::intermediate {
namespace {

bool fitsField(size_t size)
{
    return size <= size_t(INT32_MAX);
}

} // namespace

IntermediateWriter::~IntermediateWriter()
{
    if (file_)
        std::fclose(file_);
}

bool IntermediateWriter::open(const std::string &path)
{
    if (file_)
        return false;
    file_ = std::fopen(path.c_str(), "wb");
    failed_ = false;
    return file_ != nullptr;
}

IntermediateWriter::CreateResult IntermediateWriter::create(const std::string &path)
{
    if (file_)
        return CreateResult::Failed;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return errno == EEXIST ? CreateResult::Exists : CreateResult::Failed;
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        ::unlink(path.c_str());
        return CreateResult::Failed;
    }
    failed_ = false;
    return CreateResult::Created;
}

void IntermediateWriter::put(const void *bytes, size_t size)
{
    if (!file_ || failed_ || size == 0)
        return;
    if (std::fwrite(bytes, 1, size, file_) != size)
        failed_ = true;
}

void IntermediateWriter::writePage(const LayoutPage &page, bool morePagesFollow)
{
    PageBlock block;
    block.width = page.width;
    block.height = page.height;
    block.resolution = page.resolution;
    block.recordCount = page.recordCount();
    block.records = page.records ? 1 : 0;
    block.next = morePagesFollow ? 1 : 0;
    uint8_t bytes[PageBlockSize];
    encodeFields(pageBlockFields(block), bytes);
    put(bytes, sizeof bytes);
    if (page.records)
        for (const LayoutRecord &record : *page.records)
            writeRecord(record);
}

void IntermediateWriter::writeRecord(const LayoutRecord &record)
{
    const bool hasBody = !std::holds_alternative<std::monostate>(record.body);
    uint8_t header[RecordHeaderSize];
    encodeFields(Fields<RecordHeaderFields>{static_cast<int32_t>(record.type), hasBody ? 1 : 0}, header);
    put(header, sizeof header);

    switch (record.type) {
    case RecordType::Text: {
        const auto *stored = std::get_if<TextRecordBody>(&record.body);
        const TextRecordBody fresh;
        const TextRecordBody &body = stored ? *stored : fresh;
        if (!fitsField(body.text.size())) {
            failed_ = true;
            return;
        }
        uint8_t bytes[TextBodySize];
        encodeFields(textBodyFields(body), bytes);
        put(bytes, sizeof bytes);
        put(body.text.data(), body.text.size());
        break;
    }
    case RecordType::Picture: {
        const auto *stored = std::get_if<PictureRecordBody>(&record.body);
        const PictureRecordBody fresh;
        const PictureRecordBody &body = stored ? *stored : fresh;
        if (!fitsField(body.data.size())) {
            failed_ = true;
            return;
        }
        uint8_t bytes[PictureBodySize];
        encodeFields(pictureBodyFields(body), bytes);
        put(bytes, sizeof bytes);
        put(body.data.data(), body.data.size());
        break;
    }
    case RecordType::Line: {
        const auto *stored = std::get_if<ShapeRecordBody>(&record.body);
        uint8_t bytes[LineBodySize];
        encodeFields(lineBodyFields(stored ? *stored : ShapeRecordBody{}), bytes);
        put(bytes, sizeof bytes);
        break;
    }
    case RecordType::Empty:
        break;
    }
}

bool IntermediateWriter::close()
{
    if (!file_)
        return false;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return !failed_ && flushed && closed;
}

bool writeIntermediateFile(const LayoutPage &head, const std::string &path)
{
    IntermediateWriter writer;
    if (!writer.open(path))
        return false;
    for (const LayoutPage *page = &head; page; page = page->next.get())
        writer.writePage(*page, page->next != nullptr);
    return writer.close();
}

} // namespace quarnel::layout::intermediate
