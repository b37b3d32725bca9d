#include "platform/ini_file.h"

#include "platform/path_parts.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarnel::platform {
namespace {

std::string_view trim(std::string_view text)
{
    const char *blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::vector<std::string> readLines(const std::string &path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The section name of a "[name]" line, or nothing.
bool sectionOf(std::string_view line, std::string_view &name)
{
    const std::string_view text = trim(line);
    if (text.size() < 2 || text.front() != '[')
        return false;
    const size_t close = text.find(']');
    if (close == std::string_view::npos)
        return false;
    name = trim(text.substr(1, close - 1));
    return true;
}

// Splits a "key=value" line; comment lines and lines without '=' are not entries.
bool entryOf(std::string_view line, std::string_view &key, std::string_view &value)
{
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '#')
        return false;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = trim(text.substr(0, equals));
    value = trim(text.substr(equals + 1));
    return true;
}

bool findValue(const std::string &path, std::string_view section, std::string_view key, std::string &value)
{
    bool inSection = false;
    for (const std::string &line : readLines(path)) {
        std::string_view name, entryKey, entryValue;
        if (sectionOf(line, name)) {
            inSection = equalNoCase(name, section);
        } else if (inSection && entryOf(line, entryKey, entryValue) && equalNoCase(entryKey, key)) {
            value = std::string(entryValue);
            return true;
        }
    }
    return false;
}

bool makeDirectories(const std::string &directory)
{
    if (directory.empty())
        return true;
    std::string partial;
    for (size_t i = 0; i < directory.size(); ++i) {
        partial.push_back(directory[i]);
        if (directory[i] == '/' || i + 1 == directory.size())
            if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
    }
    return true;
}

bool replaceFile(const std::string &path, const std::vector<std::string> &lines)
{
    if (!makeDirectories(splitPath(path).directory))
        return false;
    const std::string temporary = path + ".new." + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        for (const std::string &line : lines)
            out << line << '\n';
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int readIniInt(const std::string &path, std::string_view section, std::string_view key, int defaultValue)
{
    std::string value;
    if (!findValue(path, section, key, value))
        return defaultValue;
    errno = 0;
    const long number = std::strtol(value.c_str(), nullptr, 10);
    if (errno == ERANGE || number > INT32_MAX || number < INT32_MIN)
        return number < 0 ? INT32_MIN : INT32_MAX;
    return static_cast<int>(number);
}

std::string readIniText(const std::string &path, std::string_view section, std::string_view key,
                        std::string_view defaultValue, size_t maxLength)
{
    std::string value;
    if (!findValue(path, section, key, value))
        value = std::string(defaultValue);
    if (maxLength != 0 && value.size() > maxLength)
        value.resize(maxLength);
    return value;
}

bool writeIniText(const std::string &path, std::string_view section, std::string_view key, std::string_view value)
{
    std::vector<std::string> lines = readLines(path);
    const std::string entry = std::string(key) + "=" + std::string(value);

    bool inSection = false;
    size_t sectionEnd = lines.size(); // where a new key of the wanted section goes
    bool sectionFound = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view name, entryKey, entryValue;
        if (sectionOf(lines[i], name)) {
            if (inSection)
                break;
            inSection = equalNoCase(name, section);
            if (inSection) {
                sectionFound = true;
                sectionEnd = i + 1;
            }
        } else if (inSection) {
            if (entryOf(lines[i], entryKey, entryValue) && equalNoCase(entryKey, key)) {
                lines[i] = std::string(entryKey) + "=" + std::string(value); // the stored name stays
                return replaceFile(path, lines);
            }
            if (!trim(lines[i]).empty())
                sectionEnd = i + 1;
        }
    }
    if (sectionFound) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
    } else {
        std::string header = "[";
        header.append(section).push_back(']');
        lines.push_back(header);
        lines.push_back(entry);
    }
    return replaceFile(path, lines);
}

bool writeIniInt(const std::string &path, std::string_view section, std::string_view key, int value)
{
    return writeIniText(path, section, key, std::to_string(value));
}

} // namespace quarnel::platform
