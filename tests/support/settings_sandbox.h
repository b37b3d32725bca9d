#pragma once
// Points both settings stores at a private temporary folder for the lifetime of a test, so tests
// never read or write a real user's settings and can run in parallel.
#include "platform/exe_path.h"
#include "support/build_paths.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quarnel::testing {

class SettingsSandbox {
public:
    SettingsSandbox()
    {
        const char *previous = std::getenv("XDG_CONFIG_HOME");
        hadPrevious_ = previous != nullptr;
        if (previous)
            previous_ = previous;
        ::setenv("XDG_CONFIG_HOME", (dir_.path() + "config").c_str(), 1);
        platform::setExecutableDirectoryForTesting(dir_.path() + "bin");
    }
    ~SettingsSandbox()
    {
        if (hadPrevious_)
            ::setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        platform::setExecutableDirectoryForTesting("");
    }
    SettingsSandbox(const SettingsSandbox &) = delete;
    SettingsSandbox &operator=(const SettingsSandbox &) = delete;

    // Where config.ini lives for this test (the stand-in executable directory), ending in '/'.
    std::string executableDirectory() const { return dir_.path() + "bin/"; }
    std::string appProfilePath() const { return dir_.path() + "config/quarnel/quarnel.INI"; }

    // Puts the real document writer beside the stand-in executable, for tests that convert
    // from end to end while the stores are redirected.
    void installWriter() const
    {
        const std::string writer = binaryDirectory() + "vornik";
        std::filesystem::create_directories(executableDirectory());
        std::filesystem::create_symlink(writer, executableDirectory() + "vornik");
    }

private:
    TempDir dir_;
    bool hadPrevious_ = false;
    std::string previous_;
};

} // namespace quarnel::testing
