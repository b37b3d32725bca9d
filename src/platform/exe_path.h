#pragma once
// The running executable's location: quarnel finds its writer, config.ini and resources beside it.
#include <string>

namespace quarnel::platform {

// Full path of the running executable (from /proc/self/exe); empty when it cannot be read.
std::string executablePath();

// Directory of the running executable, ending in '/'. Tests may redirect it with
// setExecutableDirectoryForTesting so that they never touch the files beside the real binary.
std::string executableDirectory();

// Redirects executableDirectory() for this process; an empty string restores the real one.
void setExecutableDirectoryForTesting(const std::string &directory);

} // namespace quarnel::platform
