#pragma once
// From a PDF font's name to the face a character is recorded and drawn with: the name's style
// suffixes and subset prefix, the user's mapping table, then the installed faces.
#include <string>
#include <string_view>

namespace quarnel::capture {

class FontNameTable;
class InstalledFaces;

struct NormalizedFontName {
    std::string name;
    bool italicFromName = false;
    bool boldFromName = false;
};

// Cuts the first italic suffix (",Italic", "-Italic", "Italic") and the first bold suffix
// (",Bold", "-Bold", "Bold", "-Black"), drops a subset prefix ("ABCDEF+"), and names the
// STHeiti and STSong families by their Windows faces (SimHei, SimSun). Searches are
// case-sensitive; "Helvetica-Oblique" stays as it is.
NormalizedFontName normalizeFontName(std::string_view pdfName);

// The face for a normalised name: the table's face when the name is mapped (case-sensitive);
// else the name cut at its first ',' or '-' when that is installed (case-insensitive); else the
// default face (empty without a table). Loads the table on demand.
std::string selectFaceName(const std::string &normalizedName, FontNameTable &table, InstalledFaces &installed);

} // namespace quarnel::capture
