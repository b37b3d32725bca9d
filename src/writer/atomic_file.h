#pragma once
// Writes a file so that its path only ever holds the old file or the complete new one: the data
// goes to a temporary file in the same folder, which replaces the destination by a rename when
// it is complete. Until commit(), destruction removes the temporary file.
#include <cstdio>
#include <string>

namespace quarnel::writer {

class AtomicFile {
public:
    explicit AtomicFile(std::string destination);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the temporary file; false (see error()) when the folder is not writable.
    bool open();
    // Appends bytes; errors are remembered and reported by commit().
    void write(const std::string &bytes);
    // Flushes, syncs and renames over the destination. False (see error()) on any failure, in
    // which case the destination is untouched and the temporary file removed.
    bool commit();

    const std::string &error() const { return error_; }

private:
    void discard();

    std::string destination_;
    std::string temporaryPath_;
    std::FILE *file_ = nullptr;
    bool writeFailed_ = false;
    std::string error_;
};

} // namespace quarnel::writer
