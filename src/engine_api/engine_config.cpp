#include "engine_api/engine_config.h"

#include "capture/engine_state.h"
#include "platform/path_parts.h"

#include <GlobalParams.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarnel::engine {
namespace {

bool readable(const std::string &path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

bool isDirectory(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string temporaryDirectory()
{
    const char *tmp = std::getenv("TMPDIR");
    return platform::withTrailingSlash(tmp && *tmp ? tmp : "/tmp");
}

// Splits a configuration line into blank-separated arguments; double or single quotes group
// blanks; '#' outside quotes starts a comment.
std::vector<std::string> tokenize(const std::string &line)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        if (i >= line.size() || line[i] == '#')
            break;
        std::string token;
        if (line[i] == '"' || line[i] == '\'') {
            const char quote = line[i++];
            while (i < line.size() && line[i] != quote)
                token.push_back(line[i++]);
            ++i;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                token.push_back(line[i++]);
        }
        tokens.push_back(token);
    }
    return tokens;
}

// Commands of the engine's configuration syntax that are accepted without effect here: fonts,
// PostScript output and data tables are found through fontconfig and poppler's data directory.
constexpr std::string_view ignoredCommands[] = {
    "nameToUnicode",   "cidToUnicode",   "unicodeMap",      "cMapDir",     "toUnicodeDir",
    "displayFontX",    "displayFontT1",  "displayFontTT",   "psFile",
    "psFont",          "psPaperSize",    "psDuplex",        "psLevel",         "psEmbedType1",
    "psEmbedTrueType", "psOPI",          "fontDir",         "t1libControl",    "freetypeControl",
    "urlCommand",      "mapNumericCharNames",
};

} // namespace

std::optional<std::string> openResourceFile(const std::string &path)
{
    const capture::EngineState &state = capture::engineState();
    const platform::PathParts parts = platform::splitPath(path);
    const std::string fileName = parts.name + parts.extension;
    const std::string candidates[] = {
        path,
        state.exeDirectory + "Resource/" + fileName,
        state.exeDirectory + "Resource/CMap/" + fileName,
        temporaryDirectory() + path,
    };
    for (const std::string &candidate : candidates)
        if (!candidate.empty() && readable(candidate))
            return candidate;
    return std::nullopt;
}

std::optional<std::string> resourceDataDirectory()
{
    const std::string root = capture::engineState().exeDirectory + "Resource";
    for (const char *sub : {"/cMap", "/cidToUnicode", "/nameToUnicode", "/unicodeMap"})
        if (isDirectory(root + sub))
            return root;
    return std::nullopt;
}

bool applyConfigLine(GlobalParams &params, const std::string &line)
{
    const std::vector<std::string> tokens = tokenize(line);
    if (tokens.empty())
        return true;
    const std::string &command = tokens[0];
    if (command == "textEncoding") {
        if (tokens.size() == 2)
            params.setTextEncoding(tokens[1].c_str());
        return true;
    }
    if (command == "textEOL") {
        capture::EngineState &state = capture::engineState();
        if (tokens.size() == 2) {
            if (tokens[1] == "unix")
                state.textEndOfLine = capture::TextEndOfLine::Unix;
            else if (tokens[1] == "dos")
                state.textEndOfLine = capture::TextEndOfLine::Dos;
            else if (tokens[1] == "mac")
                state.textEndOfLine = capture::TextEndOfLine::Mac;
        }
        return true;
    }
    if (command == "displayCIDFontX" || command == "displayCIDFontTT") {
        // "displayCIDFontTT Adobe-GB1 /path/font.ttf": composite fonts of that collection get a
        // configured display face, so their characters are placed like those of simple fonts.
        if (tokens.size() >= 3)
            capture::engineState().displayFontCollections.insert(tokens[1]);
        return true;
    }
    if (command == "errQuiet") {
        if (tokens.size() == 2)
            params.setErrQuiet(tokens[1] == "yes");
        return true;
    }
    for (std::string_view known : ignoredCommands)
        if (command == known)
            return true;
    return false; // "fontpath", "fontmap" and anything unknown: skip the line
}

std::optional<std::string> loadEngineConfig(GlobalParams &params)
{
    std::optional<std::string> found = openResourceFile("config.lst");
    if (!found) {
        const char *home = std::getenv("HOME");
        std::string pdfrc = platform::withTrailingSlash(home && *home ? home : ".") + "pdfrc";
        if (pdfrc.front() != '/') {
            char cwd[4096];
            if (::getcwd(cwd, sizeof cwd))
                pdfrc = platform::withTrailingSlash(cwd) + pdfrc;
        }
        found = openResourceFile(pdfrc);
    }
    if (!found)
        found = openResourceFile(capture::engineState().exeDirectory + "pdfrc");
    if (!found)
        return std::nullopt;

    std::ifstream in(*found);
    std::string line;
    while (std::getline(in, line))
        applyConfigLine(params, line);
    return found;
}

} // namespace quarnel::engine
