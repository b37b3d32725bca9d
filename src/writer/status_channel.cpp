#include "writer/status_channel.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quarnel::writer {

StatusChannel::StatusChannel(const char *argument)
{
    if (!argument)
        return;
    int fd = -1;
    const char *end = argument + std::strlen(argument);
    const auto parsed = std::from_chars(argument, end, fd);
    if (parsed.ec != std::errc() || parsed.ptr != end || fd <= 2 || ::fcntl(fd, F_GETFD) < 0)
        return;
    fd_ = fd;
}

void StatusChannel::send(const std::string &line) const
{
    if (fd_ < 0)
        return;
    const std::string text = line + "\n";
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t result = ::write(fd_, text.data() + written, text.size() - written);
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return;
        written += size_t(result);
    }
}

} // namespace quarnel::writer
