// The text primitive: the vertical-face rules, font creation, and the record or the glyphs.
#include "capture/drawing_surface.h"

#include "capture/element_recorder.h"
#include "capture/text_geometry.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quarnel::capture {
namespace {

constexpr size_t maxFaceLength = 31;
// Glyphs are never drawn larger than this: a huge font height in a broken file would otherwise
// ask for a glyph mask of gigabytes. The record keeps the height as computed.
constexpr double maxDrawnEm = 4096;
// The platform's height for a request of height 0.
constexpr double defaultEm = 12;

void setColor(cairo_t *cr, uint32_t color)
{
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, ((color >> 16) & 0xFF) / 255.0);
}

// A horizontal-hatch brush: one line every 8 pixels, transparent between the lines.
cairo_pattern_t *createHatch()
{
    cairo_surface_t *tile = cairo_image_surface_create(CAIRO_FORMAT_A8, 8, 8);
    cairo_t *cr = cairo_create(tile);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_rectangle(cr, 0, 3, 8, 1);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_pattern_t *pattern = cairo_pattern_create_for_surface(tile);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_surface_destroy(tile);
    return pattern;
}

// Fills the current path with the brush of a render mode and outlines it with its pen.
void paintTextPath(cairo_t *cr, int renderMode, uint32_t fillColor, uint32_t strokeColor)
{
    const bool hatched = renderMode >= 4;
    const uint32_t brush = (renderMode == 1 || renderMode == 5) ? 0x00FFFFFF : fillColor;
    const uint32_t pen = renderMode == 4 ? fillColor : strokeColor;
    if (hatched) {
        cairo_save(cr);
        cairo_clip_preserve(cr);
        setColor(cr, brush);
        cairo_identity_matrix(cr);
        cairo_pattern_t *hatch = createHatch();
        cairo_mask(cr, hatch);
        cairo_pattern_destroy(hatch);
        cairo_restore(cr);
    } else {
        setColor(cr, brush);
        cairo_fill_preserve(cr);
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_line_width(cr, renderMode == 2 ? 2 : 1);
    setColor(cr, pen);
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace

bool DrawingSurface::drawText(const TextRun &run)
{
    if (run.text.empty())
        return false;
    const int32_t angle = roundedAngle(run.angleDegrees);
    int32_t x = run.x;
    int32_t y = run.y;
    std::string face = run.faceName;
    if (run.vertical) {
        if (!face.empty() && face.front() == '@')
            face.erase(0, 1);
        if (isVerticalPunctuation(run.text.front())) {
            moveVerticalPunctuation(x, y, run.advance, run.height, angle);
            face = "@" + face;
        }
    }
    LogicalFont request;
    request.faceName = face.substr(0, maxFaceLength);
    request.height = run.height;
    request.width = std::abs(static_cast<int64_t>(run.height) - run.advance) >= 4 ? run.advance / 2 : 0;
    request.escapement = orientationTenths(angle, face);
    request.weight = run.bold != 0 ? 700 : 0;
    request.italic = static_cast<uint8_t>(run.italic & 0xFF);
    request.charSet = run.charSet;
    const PlatformFont *font = fonts_.create(request);
    if (!font) {
        face = run.fallbackFace;
        request.faceName = face.substr(0, maxFaceLength);
        font = fonts_.create(request);
    }
    if (!font)
        return false;

    if (recording()) {
        recordElement(ElementText, [&] {
            PageText *text = page_model::newPageText(x, y, run.text, face);
            text->advance = run.advance;
            text->fontHeight = run.height;
            text->bold = run.bold;
            text->italic = run.italic;
            text->orientation = request.escapement;
            text->color = run.fillColor;
            text->marker = 0;
            return text;
        });
        return true;
    }
    drawGlyphs(run, *font, x, y, request.escapement, request);
    return true;
}

void DrawingSurface::drawGlyphs(const TextRun &run, const PlatformFont &font, int32_t x, int32_t y, int32_t orientation,
                                const LogicalFont &request) const
{
    cairo_t *cr = beginDrawing();
    if (!cr)
        return;
    const double em = std::min(request.height > 0 ? static_cast<double>(request.height) : defaultEm, maxDrawnEm);
    const double xEm = request.width > 0 ? std::min(request.width / font.averageWidthPerEm, maxDrawnEm) : em;
    cairo_set_font_face(cr, font.face);
    cairo_matrix_t fontMatrix;
    cairo_matrix_init_scale(&fontMatrix, xEm, em);
    cairo_set_font_matrix(cr, &fontMatrix);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -orientation / 10.0 * M_PI / 180.0);
    cairo_move_to(cr, 0, 0);
    const std::string utf8 = utf16ToUtf8(run.text);
    if (run.renderMode == 0) {
        setColor(cr, run.fillColor);
        cairo_show_text(cr, utf8.c_str());
    } else if (run.renderMode == 1 || run.renderMode == 2 || (run.renderMode >= 4 && run.renderMode <= 6)) {
        cairo_text_path(cr, utf8.c_str());
        paintTextPath(cr, run.renderMode, run.fillColor, run.strokeColor);
    }
    endDrawing(cr);
}

} // namespace quarnel::capture
