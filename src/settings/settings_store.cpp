#include "settings/settings_store.h"

#include "platform/exe_path.h"
#include "platform/ini_file.h"
#include "platform/path_parts.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace quarnel::settings {
namespace {

std::string pathOf(Store store)
{
    return store == Store::AppProfile ? appProfilePath() : configIniPath();
}

} // namespace

std::string appProfilePath()
{
    std::string base;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char *home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir)
        base = std::string(user->pw_dir) + "/.config"; // never the current directory
    else
        base = "/tmp/.config";
    return platform::withTrailingSlash(base) + "quarnel/quarnel.INI";
}

std::string configIniPath()
{
    return platform::executableDirectory() + "config.ini";
}

int read(const IntSetting &setting)
{
    return platform::readIniInt(pathOf(setting.store), setting.section, setting.key, setting.defaultValue);
}

void write(const IntSetting &setting, int value)
{
    platform::writeIniInt(pathOf(setting.store), setting.section, setting.key, value);
}

std::string read(const TextSetting &setting)
{
    return readText(setting.store, setting.section, setting.key, setting.defaultValue, setting.maxLength);
}

void write(const TextSetting &setting, std::string_view value)
{
    platform::writeIniText(pathOf(setting.store), setting.section, setting.key, value);
}

std::string readText(Store store, std::string_view section, std::string_view key, std::string_view defaultValue,
                     size_t maxLength)
{
    return platform::readIniText(pathOf(store), section, key, defaultValue, maxLength);
}

} // namespace quarnel::settings
