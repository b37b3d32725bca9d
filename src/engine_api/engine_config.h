#pragma once
// The engine's configuration: "config.lst" (or a "pdfrc"), and the look-up of resource files in
// the "Resource/" and "Resource/CMap/" folders beside the executable.
#include <optional>
#include <string>

class GlobalParams;

namespace quarnel::engine {

// The first readable file among: `path` itself; the executable's "Resource/" and
// "Resource/CMap/" folders with the file name of `path`; the temporary directory + `path`.
std::optional<std::string> openResourceFile(const std::string &path);

// The folder to give poppler as its data directory: "Resource/" beside the executable when it
// holds poppler's data layout (cMap, cidToUnicode, nameToUnicode, unicodeMap), otherwise
// nothing, and the system's poppler-data is used.
std::optional<std::string> resourceDataDirectory();

// Reads the first configuration file found ("config.lst", then "pdfrc" in $HOME, then "pdfrc"
// beside the executable) and applies the commands the engine honours (textEncoding, textEOL,
// errQuiet). The other known commands are accepted and ignored; unknown lines are skipped.
// Returns the file read, if any.
std::optional<std::string> loadEngineConfig(GlobalParams &params);

// Applies one configuration line; false when its command is unknown (the line is skipped).
bool applyConfigLine(GlobalParams &params, const std::string &line);

} // namespace quarnel::engine
