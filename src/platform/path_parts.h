#pragma once
// Splitting a path into directory, base name and extension, and putting it back together.
#include <string>
#include <string_view>

namespace quarnel::platform {

struct PathParts {
    std::string directory; // everything up to and including the last '/', or empty
    std::string name;      // the file name without its extension
    std::string extension; // from the last '.' of the file name on, or empty
};

// A leading dot (".profile") belongs to the name, not the extension.
PathParts splitPath(std::string_view path);
std::string joinPath(const PathParts &parts);

// "x/report.pdf" with ".doc" gives "x/report.doc"; a path without extension gains one.
std::string replaceExtension(std::string_view path, std::string_view extension);

// Appends '/' unless the text already ends in one; an empty text stays empty.
std::string withTrailingSlash(std::string directory);

} // namespace quarnel::platform
