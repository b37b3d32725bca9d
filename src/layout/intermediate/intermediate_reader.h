#pragma once
// Reads an intermediate file page by page. The file is untrusted: every count and length is
// checked against the bytes that remain before anything is allocated or read, so a damaged
// file gives an error message, never a crash, a hang or an outsized allocation. Memory use is
// bounded by the largest page.
#include "layout/layout_records.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace quarnel::layout::intermediate {

class IntermediateReader {
public:
    enum class Status { Page, End, Error };

    IntermediateReader() = default;
    ~IntermediateReader();
    IntermediateReader(const IntermediateReader &) = delete;
    IntermediateReader &operator=(const IntermediateReader &) = delete;

    // Opens a regular file; false with error() set when it cannot be read.
    bool openFile(const std::string &path);
    // Reads from a caller-owned buffer that must outlive the reader (used by the fuzz target).
    bool openMemory(const uint8_t *data, size_t size);

    // Reads the next page into `page` (its `next` stays empty). With `skipPictureData` the
    // picture bytes are checked for length and skipped, leaving `data` empty: a cheap first pass.
    // End after the page whose `next` field is zero; Error (see error()) for anything that does
    // not add up: a truncated block, a negative or oversized count or length, bytes after the
    // last page, an empty file.
    Status readPage(LayoutPage &page, bool skipPictureData = false);

    // What went wrong, in one line without a trailing newline.
    const std::string &error() const { return error_; }
    // Pages read so far.
    int pagesRead() const { return pagesRead_; }

private:
    bool readBytes(void *out, size_t size);
    bool skipBytes(uint64_t size);
    uint64_t remaining() const { return size_ - offset_; }
    bool fail(const std::string &message);
    bool readRecord(LayoutRecord &record, bool skipPictureData);
    bool readText(TextRecordBody &body);
    bool readPicture(PictureRecordBody &body, bool skipPictureData);
    // Checks a variable-data length against what remains; negative lengths mean "no data".
    bool checkLength(int32_t length, const char *what, uint64_t &checked);

    std::FILE *file_ = nullptr;
    uint64_t size_ = 0;
    uint64_t offset_ = 0;
    bool finished_ = false; // the last page has been read (or an error happened)
    int pagesRead_ = 0;
    std::string error_;
};

} // namespace quarnel::layout::intermediate
