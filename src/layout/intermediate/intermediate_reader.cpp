#include "layout/intermediate/intermediate_reader.h"

#include "layout/intermediate/record_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace quarnel::layout::intermediate {
namespace {

// A slot per element of a captured page; no page has millions of elements, and each slot costs
// about a hundred bytes in memory however small it is in the file.
constexpr int32_t MaxRecordsPerPage = 1 << 22;
constexpr size_t InitialSlotReserve = 4096;

std::string number(uint64_t value)
{
    return std::to_string(value);
}

// Joins message parts by appending (GCC 12 warns falsely about "literal" + std::string at -O3).
template <typename... Parts> std::string join(const Parts &...parts)
{
    std::string text;
    (text += ... += parts);
    return text;
}

} // namespace

IntermediateReader::~IntermediateReader()
{
    if (file_)
        std::fclose(file_);
}

bool IntermediateReader::openFile(const std::string &path)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return fail(join("cannot open: ", std::strerror(errno)));
    struct stat status {};
    if (::fstat(::fileno(file_), &status) != 0 || !S_ISREG(status.st_mode))
        return fail("not a regular file");
    size_ = static_cast<uint64_t>(status.st_size);
    if (size_ == 0)
        return fail("empty file");
    return true;
}

bool IntermediateReader::openMemory(const uint8_t *data, size_t size)
{
    if (size == 0)
        return fail("empty file");
    file_ = ::fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (!file_)
        return fail("cannot open the buffer");
    size_ = size;
    return true;
}

bool IntermediateReader::fail(const std::string &message)
{
    if (error_.empty())
        error_ = message;
    finished_ = true;
    return false;
}

bool IntermediateReader::readBytes(void *out, size_t size)
{
    if (size > remaining())
        return false;
    if (size != 0 && std::fread(out, 1, size, file_) != size)
        return fail(join("read error at offset ", number(offset_)));
    offset_ += size;
    return true;
}

bool IntermediateReader::skipBytes(uint64_t size)
{
    if (size > remaining())
        return false;
    if (size != 0 && ::fseeko(file_, static_cast<off_t>(offset_ + size), SEEK_SET) != 0)
        return fail(join("seek error at offset ", number(offset_)));
    offset_ += size;
    return true;
}

bool IntermediateReader::checkLength(int32_t length, const char *what, uint64_t &checked)
{
    checked = length > 0 ? static_cast<uint64_t>(length) : 0;
    if (checked > remaining())
        return fail(join(what, " length ", number(checked), " at offset ", number(offset_), " exceeds the ",
                         number(remaining()), " bytes left"));
    return true;
}

IntermediateReader::Status IntermediateReader::readPage(LayoutPage &page, bool skipPictureData)
{
    if (!file_ || finished_)
        return error_.empty() && file_ ? Status::End : Status::Error;

    const uint64_t pageOffset = offset_;
    uint8_t bytes[PageBlockSize];
    if (!readBytes(bytes, sizeof bytes)) {
        fail(join("truncated page block at offset ", number(pageOffset)));
        return Status::Error;
    }
    const PageBlock block = pageBlockFromFields(decodeFields<PageBlockFields>(bytes));
    const int pageNumber = pagesRead_ + 1;
    if (block.recordCount < 0) {
        fail(join("page ", std::to_string(pageNumber), " has a negative record count"));
        return Status::Error;
    }
    // Every slot takes at least its header, so the count cannot exceed what the file holds.
    if (block.recordCount > MaxRecordsPerPage) {
        fail(join("page ", std::to_string(pageNumber), " has ", std::to_string(block.recordCount),
                  " records, more than any page can hold (", std::to_string(MaxRecordsPerPage), ")"));
        return Status::Error;
    }
    if (uint64_t(block.recordCount) > remaining() / RecordHeaderSize) {
        fail(join("page ", std::to_string(pageNumber), " claims ", std::to_string(block.recordCount),
                  " records but only ", number(remaining()), " bytes remain"));
        return Status::Error;
    }

    page.width = block.width;
    page.height = block.height;
    page.resolution = block.resolution;
    page.next.reset();
    page.records.reset();
    if (block.records != 0 || block.recordCount > 0) {
        // Slots are added as they are read, so a count that the data does not bear out costs
        // no more memory than the slots actually present.
        page.records.emplace();
        page.records->reserve(std::min<size_t>(size_t(block.recordCount), InitialSlotReserve));
        for (int32_t i = 0; i < block.recordCount; ++i)
            if (!readRecord(page.records->emplace_back(), skipPictureData)) {
                page.records.reset();
                return Status::Error;
            }
    }
    ++pagesRead_;

    if (block.next == 0) {
        finished_ = true;
        if (remaining() != 0) {
            fail(join(number(remaining()), " unexpected bytes after the last page (offset ", number(offset_), ")"));
            return Status::Error;
        }
        return Status::Page;
    }
    if (remaining() == 0) {
        fail(join("page ", std::to_string(pageNumber), " announces another page but the file ends"));
        return Status::Error;
    }
    return Status::Page;
}

bool IntermediateReader::readRecord(LayoutRecord &record, bool skipPictureData)
{
    const uint64_t recordOffset = offset_;
    uint8_t header[RecordHeaderSize];
    if (!readBytes(header, sizeof header))
        return fail(join("truncated record header at offset ", number(recordOffset)));
    const auto fields = decodeFields<RecordHeaderFields>(header);
    switch (fields[0]) {
    case int32_t(RecordType::Text): {
        record.type = RecordType::Text;
        return readText(record.body.emplace<TextRecordBody>());
    }
    case int32_t(RecordType::Picture): {
        record.type = RecordType::Picture;
        return readPicture(record.body.emplace<PictureRecordBody>(), skipPictureData);
    }
    case int32_t(RecordType::Line): {
        record.type = RecordType::Line;
        uint8_t bytes[LineBodySize];
        if (!readBytes(bytes, sizeof bytes))
            return fail(join("truncated line record at offset ", number(recordOffset)));
        record.body = lineBodyFromFields(decodeFields<LineBodyFields>(bytes));
        return true;
    }
    default:
        // Empty slots, and slot types this program does not know, are a header and nothing more.
        record.type = RecordType::Empty;
        record.body = std::monostate{};
        return true;
    }
}

bool IntermediateReader::readText(TextRecordBody &body)
{
    const uint64_t bodyOffset = offset_;
    uint8_t bytes[TextBodySize];
    if (!readBytes(bytes, sizeof bytes))
        return fail(join("truncated text record at offset ", number(bodyOffset)));
    const int32_t length = textBodyFromFields(decodeFields<TextBodyFields>(bytes), body);
    uint64_t checked = 0;
    if (!checkLength(length, "text", checked))
        return false;
    body.text.resize(static_cast<size_t>(checked));
    return readBytes(body.text.data(), body.text.size());
}

bool IntermediateReader::readPicture(PictureRecordBody &body, bool skipPictureData)
{
    const uint64_t bodyOffset = offset_;
    uint8_t bytes[PictureBodySize];
    if (!readBytes(bytes, sizeof bytes))
        return fail(join("truncated picture record at offset ", number(bodyOffset)));
    const int32_t length = pictureBodyFromFields(decodeFields<PictureBodyFields>(bytes), body);
    uint64_t checked = 0;
    if (!checkLength(length, "picture data", checked))
        return false;
    if (skipPictureData) {
        body.data.clear();
        return skipBytes(checked);
    }
    body.data.resize(static_cast<size_t>(checked));
    return readBytes(body.data.data(), body.data.size());
}

} // namespace quarnel::layout::intermediate
