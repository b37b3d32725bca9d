#include "capture/font_mapping.h"

#include "capture/font_name_table.h"
#include "capture/installed_faces.h"

#include <initializer_list>

namespace quarnel::capture {
namespace {

// Cuts `name` where the first of `suffixes` (tried in order) begins; true when one matched.
bool cutAtFirst(std::string &name, std::initializer_list<std::string_view> suffixes)
{
    for (std::string_view suffix : suffixes) {
        const size_t at = name.find(suffix);
        if (at != std::string::npos) {
            name.resize(at);
            return true;
        }
    }
    return false;
}

} // namespace

NormalizedFontName normalizeFontName(std::string_view pdfName)
{
    NormalizedFontName result;
    result.name = std::string(pdfName);
    result.italicFromName = cutAtFirst(result.name, {",Italic", "-Italic", "Italic"});
    result.boldFromName = cutAtFirst(result.name, {",Bold", "-Bold", "Bold", "-Black"});
    const size_t plus = result.name.find('+');
    if (plus != std::string::npos)
        result.name.erase(0, plus + 1);
    if (result.name.find("STHeiti") != std::string::npos)
        result.name = "SimHei";
    if (result.name.find("STSong") != std::string::npos)
        result.name = "SimSun";
    return result;
}

std::string selectFaceName(const std::string &normalizedName, FontNameTable &table, InstalledFaces &installed)
{
    table.ensureLoaded();
    if (const std::string *mapped = table.faceFor(normalizedName))
        return *mapped;
    installed.ensureLoaded();
    const std::string cut = normalizedName.substr(0, normalizedName.find_first_of(",-"));
    if (installed.contains(cut))
        return cut;
    return table.defaultFace();
}

} // namespace quarnel::capture
