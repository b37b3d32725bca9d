#pragma once
// Streams layout pages into an intermediate file, one page at a time, so the caller can write a
// page as soon as it knows whether another follows and memory does not grow with the page count.
// The bytes equal those of writing the whole list at once: little-endian 32-bit fields, a page
// block per page, then each slot's header, body and variable data.
#include "layout/layout_records.h"

#include <cstdio>
#include <string>

namespace quarnel::layout::intermediate {

class IntermediateWriter {
public:
    enum class CreateResult { Created, Exists, Failed };

    IntermediateWriter() = default;
    ~IntermediateWriter(); // closes without reporting; call close() to learn about errors
    IntermediateWriter(const IntermediateWriter &) = delete;
    IntermediateWriter &operator=(const IntermediateWriter &) = delete;

    // Creates `path`, replacing an existing file.
    bool open(const std::string &path);
    // Creates `path` only when no file of that name exists (never follows or replaces one).
    CreateResult create(const std::string &path);

    // Appends one page block and its record blocks; `morePagesFollow` becomes the `next` field.
    // A slot whose body is missing gets a freshly made body of its type and no variable data.
    void writePage(const LayoutPage &page, bool morePagesFollow);

    // Flushes and closes. False when any write failed (the file is then incomplete) or nothing
    // was open.
    bool close();

    bool isOpen() const { return file_ != nullptr; }

private:
    void put(const void *bytes, size_t size);
    void writeRecord(const LayoutRecord &record);

    std::FILE *file_ = nullptr;
    bool failed_ = false;
};

// Writes the whole list from `head` to `path` (replacing it). False on any failure.
bool writeIntermediateFile(const LayoutPage &head, const std::string &path);

} // namespace quarnel::layout::intermediate
