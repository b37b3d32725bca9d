#include "platform/path_parts.h"

namespace quarnel::platform {

PathParts splitPath(std::string_view path)
{
    PathParts parts;
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    parts.directory = std::string(path.substr(0, nameStart));
    const std::string_view fileName = path.substr(nameStart);
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        parts.name = std::string(fileName);
    } else {
        parts.name = std::string(fileName.substr(0, dot));
        parts.extension = std::string(fileName.substr(dot));
    }
    return parts;
}

std::string joinPath(const PathParts &parts)
{
    return parts.directory + parts.name + parts.extension;
}

std::string replaceExtension(std::string_view path, std::string_view extension)
{
    PathParts parts = splitPath(path);
    parts.extension = std::string(extension);
    return joinPath(parts);
}

std::string withTrailingSlash(std::string directory)
{
    if (!directory.empty() && directory.back() != '/')
        directory.push_back('/');
    return directory;
}

} // namespace quarnel::platform
