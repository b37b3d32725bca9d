#include "writer/atomic_file.h"

#include "platform/path_parts.h"

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace quarnel::writer {
namespace {

// The mode a new file gets from open(2) with 0666 under the current umask.
mode_t defaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicFile::AtomicFile(std::string destination) : destination_(std::move(destination)) {}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::discard()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    if (!temporaryPath_.empty())
        ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
}

bool AtomicFile::open()
{
    const platform::PathParts parts = platform::splitPath(destination_);
    std::string pattern = parts.directory + "." + parts.name + parts.extension + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error_ = "cannot create a file in the destination's folder: " + std::string(std::strerror(errno));
        return false;
    }
    temporaryPath_ = pattern;
    // Keep the permissions of a document the user replaces; a new one gets the usual ones.
    struct stat existing {};
    ::fchmod(fd, ::stat(destination_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : defaultFileMode());
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        error_ = "cannot open the temporary file";
        discard();
        return false;
    }
    return true;
}

void AtomicFile::write(const std::string &bytes)
{
    if (!file_ || writeFailed_ || bytes.empty())
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        writeFailed_ = true;
        error_ = "write error: " + std::string(std::strerror(errno));
    }
}

bool AtomicFile::commit()
{
    if (!file_) {
        if (error_.empty())
            error_ = "nothing was written";
        return false;
    }
    if (!writeFailed_ && (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)) {
        writeFailed_ = true;
        error_ = "write error: " + std::string(std::strerror(errno));
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!writeFailed_ && !closed)
        error_ = "write error on close: " + std::string(std::strerror(errno));
    if (writeFailed_ || !closed) {
        discard();
        return false;
    }
    if (::rename(temporaryPath_.c_str(), destination_.c_str()) != 0) {
        error_ = "cannot replace the destination: " + std::string(std::strerror(errno));
        discard();
        return false;
    }
    temporaryPath_.clear();
    return true;
}

} // namespace quarnel::writer
