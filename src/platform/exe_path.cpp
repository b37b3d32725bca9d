#include "platform/exe_path.h"

#include "platform/path_parts.h"

#include <climits>
#include <mutex>
#include <unistd.h>

namespace quarnel::platform {
namespace {

std::mutex overrideLock;
std::string directoryOverride;

} // namespace

std::string executablePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    return std::string(buffer, static_cast<size_t>(length));
}

std::string executableDirectory()
{
    {
        std::lock_guard lock(overrideLock);
        if (!directoryOverride.empty())
            return withTrailingSlash(directoryOverride);
    }
    return withTrailingSlash(splitPath(executablePath()).directory);
}

void setExecutableDirectoryForTesting(const std::string &directory)
{
    std::lock_guard lock(overrideLock);
    directoryOverride = directory;
}

} // namespace quarnel::platform
