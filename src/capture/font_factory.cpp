#include "capture/font_factory.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace quarnel::capture {
namespace {

// The fontconfig pattern of the best match for the face, or null. A leading '@' names the
// vertical use of a face, not a face of its own.
FcPattern *matchFace(const std::string &faceName, bool bold, bool italic)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return nullptr;
    const std::string family = (!faceName.empty() && faceName.front() == '@') ? faceName.substr(1) : faceName;
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    if (bold)
        FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    if (italic)
        FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
}

// Loads the face once through cairo, which fails when the font file cannot be read, and reads
// its average character width for requests that give a width.
std::unique_ptr<PlatformFont> loadFont(FcPattern *match)
{
    cairo_font_face_t *face = cairo_ft_font_face_create_for_pattern(match);
    if (!face || cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        return nullptr;
    }
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_scaled_font_t *scaled = cairo_scaled_font_create(face, &identity, &identity, options);
    cairo_font_options_destroy(options);
    FT_Face ftFace =
        cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS ? cairo_ft_scaled_font_lock_face(scaled) : nullptr;
    if (!ftFace) {
        cairo_scaled_font_destroy(scaled);
        cairo_font_face_destroy(face);
        return nullptr;
    }
    auto font = std::make_unique<PlatformFont>();
    font->face = face;
    const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_OS2));
    if (os2 && ftFace->units_per_EM > 0 && os2->xAvgCharWidth > 0)
        font->averageWidthPerEm = static_cast<double>(os2->xAvgCharWidth) / ftFace->units_per_EM;
    cairo_ft_scaled_font_unlock_face(scaled);
    cairo_scaled_font_destroy(scaled);
    return font;
}

} // namespace

FontFactory::~FontFactory()
{
    clear();
}

void FontFactory::clear()
{
    for (auto &[key, font] : cache_)
        if (font)
            cairo_font_face_destroy(font->face);
    cache_.clear();
    haveLast_ = false;
    lastFont_ = nullptr;
}

const PlatformFont *FontFactory::create(const LogicalFont &request)
{
    const bool bold = request.weight >= 600;
    const bool italic = request.italic != 0;
    if (haveLast_ && std::get<1>(lastKey_) == bold && std::get<2>(lastKey_) == italic &&
        std::get<0>(lastKey_) == request.faceName)
        return lastFont_;
    Key key{request.faceName, bold, italic};
    const auto known = cache_.find(key);
    if (known != cache_.end()) {
        lastKey_ = key;
        lastFont_ = known->second.get();
        haveLast_ = true;
        return lastFont_;
    }
    std::unique_ptr<PlatformFont> font;
    if (FcPattern *match = matchFace(request.faceName, std::get<1>(key), std::get<2>(key))) {
        font = loadFont(match);
        FcPatternDestroy(match);
    }
    const PlatformFont *created = font.get();
    lastKey_ = key;
    lastFont_ = created;
    haveLast_ = true;
    cache_.emplace(std::move(key), std::move(font));
    return created;
}

} // namespace quarnel::capture
