#include "engine_api/document_open.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quarnel::engine {
namespace {

std::string mapCase(std::string text, int (*convert)(int))
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [convert](unsigned char c) { return static_cast<char>(convert(c)); });
    return text;
}

std::optional<GooString> password(const char *text)
{
    if (!text || !*text)
        return std::nullopt;
    return GooString(text);
}

} // namespace

std::optional<std::string> findReadablePath(const std::string &path)
{
    for (const std::string &candidate : {path, mapCase(path, ::tolower), mapCase(path, ::toupper)}) {
        if (std::FILE *file = std::fopen(candidate.c_str(), "rb")) {
            std::fclose(file);
            return candidate;
        }
    }
    return std::nullopt;
}

double readHeaderVersion(const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    char buffer[1025] = {};
    const size_t length = std::fread(buffer, 1, 1024, file);
    std::fclose(file);

    for (size_t i = 0; i + 5 <= length && i <= 1018; ++i) {
        if (std::memcmp(buffer + i, "%PDF-", 5) != 0)
            continue;
        size_t start = i + 5;
        while (start < length && std::strchr(" \t\r\n", buffer[start]))
            ++start;
        if (start >= length || !std::isdigit(static_cast<unsigned char>(buffer[start])))
            return 0;
        size_t end = start;
        while (end < length && !std::strchr(" \t\r\n", buffer[end]))
            ++end;
        double version = 0; // from_chars, not strtod: the user's locale must not change the version
        std::from_chars(buffer + start, buffer + end, version);
        return version;
    }
    return 0;
}

std::unique_ptr<PDFDoc> openDocument(const std::string &path, const char *ownerPassword, const char *userPassword)
{
    const std::optional<std::string> readable = findReadablePath(path);
    if (!readable)
        return nullptr;
    auto doc = std::make_unique<PDFDoc>(std::make_unique<GooString>(*readable), password(ownerPassword),
                                        password(userPassword));
    if (!doc->isOk())
        return nullptr;
    return doc;
}

} // namespace quarnel::engine
