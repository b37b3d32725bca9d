#pragma once
// The converter's persistent settings and the two stores that hold them:
//   - the application profile, $XDG_CONFIG_HOME/quarnel/quarnel.INI (default
//     ~/.config/quarnel/quarnel.INI), for the user's options;
//   - config.ini beside the executable, for character spacing and the font-name mapping.
// Nothing is cached: every read goes to the store and every write goes to disk at once, so a
// value saved by the window applies from the next file or page the worker starts.
#include <cstddef>
#include <string>
#include <string_view>

namespace quarnel::settings {

enum class Store { AppProfile, ConfigIni };

struct IntSetting {
    Store store;
    const char *section;
    const char *key;
    int defaultValue;
};

struct TextSetting {
    Store store;
    const char *section;
    const char *key;
    const char *defaultValue;
    size_t maxLength; // 0: no limit
};

int read(const IntSetting &setting);
void write(const IntSetting &setting, int value);
std::string read(const TextSetting &setting);
void write(const TextSetting &setting, std::string_view value);

// For keys whose names are built at run time ("PdfFontName%d").
std::string readText(Store store, std::string_view section, std::string_view key, std::string_view defaultValue,
                     size_t maxLength = 0);

std::string appProfilePath();
std::string configIniPath();

} // namespace quarnel::settings
