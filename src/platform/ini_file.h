#pragma once
// INI files with the semantics of the Windows private-profile functions: section and key names
// compare without regard to case; a missing file, section or key gives the caller's default;
// the first write creates the file (and its folder); every write goes to disk at once.
// Lines a write does not touch (comments, unknown lines) are kept as they were.
#include <string>
#include <string_view>

namespace quarnel::platform {

// Reads the leading decimal integer of the value (an optional sign, then digits), as
// GetPrivateProfileInt does: 0 when the value does not start with a number, the default when the
// key is missing.
int readIniInt(const std::string &path, std::string_view section, std::string_view key, int defaultValue);

// The value text with surrounding blanks removed, cut to `maxLength` bytes when that is not 0;
// the default when the key is missing.
std::string readIniText(const std::string &path, std::string_view section, std::string_view key,
                        std::string_view defaultValue, size_t maxLength = 0);

// Replaces the key's value, or adds the key to its section, or adds the section at the end.
// The file is replaced atomically, so a reader never sees half a file. Returns false when the
// file cannot be written; callers of the settings store do not report that.
bool writeIniText(const std::string &path, std::string_view section, std::string_view key, std::string_view value);

// Writes the value as "%d" text.
bool writeIniInt(const std::string &path, std::string_view section, std::string_view key, int value);

} // namespace quarnel::platform
