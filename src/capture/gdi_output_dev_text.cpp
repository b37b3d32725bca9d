// The text path of GdiOutputDev: from poppler's per-character callback to the text primitive.
#include "capture/gdi_output_dev.h"

#include "capture/engine_state.h"
#include "capture/font_mapping.h"
#include "capture/text_geometry.h"

#include <GfxFont.h>
#include <GfxState.h>
#include <TextOutputDev.h>

namespace quarnel::capture {
namespace {

uint32_t colorOf(const GfxRGB &rgb)
{
    return colorRef(colToDbl(rgb.r), colToDbl(rgb.g), colToDbl(rgb.b));
}

} // namespace

void GdiOutputDev::drawChar(GfxState *state, double x, double y, double dx, double dy, double originX, double originY,
                            CharCode code, int nBytes, const Unicode *u, int uLen)
{
    actualText_->addChar(state, x, y, dx, dy, code, nBytes, u, uLen);
    if ((state->getRender() & 3) == 3 || insideSoftMask())
        return; // invisible text (modes 3 and 7) reaches the text page only
    if (state->getFont() != font_)
        updateFont(state);
    // poppler gives user-space positions; the CTM takes them to device pixels.
    const double *ctm = state->getCTM();
    const double x1 = (x - originX) * ctm[0] + (y - originY) * ctm[2] + ctm[4];
    const double y1 = (x - originX) * ctm[1] + (y - originY) * ctm[3] + ctm[5];
    const double dx1 = dx * ctm[0] + dy * ctm[2];
    // Positions are rounded only for fonts the engine-side font cache holds.
    const int32_t deviceX = hasFontEntry_ ? roundToInt32(x1) : truncateToInt32(x1);
    const int32_t deviceY = hasFontEntry_ ? roundToInt32(y1) : truncateToInt32(y1);
    recordText(state, deviceX, deviceY, truncateToInt32(dx1), u, uLen);
}

void GdiOutputDev::recordText(GfxState *state, int32_t x, int32_t y, int32_t advance, const Unicode *u, int uLen)
{
    TextRun run;
    if (inReplacement_) {
        if (replacementRecorded_)
            return;
        replacementRecorded_ = true;
        run.text = replacement_;
    } else {
        run.text = expandFiLigature(toUtf16(u, uLen));
    }
    if (run.text.empty())
        return; // no Unicode mapping: neither recorded nor drawn
    GfxRGB rgb;
    state->getFillRGB(&rgb);
    run.fillColor = colorOf(rgb);
    state->getStrokeRGB(&rgb);
    run.strokeColor = colorOf(rgb);
    run.renderMode = state->getRender();

    const GfxFont *font = font_.get();
    const int flags = font ? font->getFlags() : 0;
    run.bold = boldFromName_ ? 1 : (flags & fontBold);
    run.italic = italicFromName_ ? 1 : (flags & fontItalic);
    run.vertical = (font && font->getWMode() == 1) || verticalMarkedContent_ > 0;
    if (font)
        lastCharSet_ = fontInfo_.charSet;
    run.charSet = lastCharSet_;

    FontMatrix m;
    state->getFontTransMat(&m.m11, &m.m12, &m.m21, &m.m22);
    run.angleDegrees = textAngleDegrees(m);
    run.height = fontHeightPixels(m);
    if (run.angleDegrees == 0 && isSlanted(m))
        run.italic = 1;

    EngineState &engine = engineState();
    run.x = x;
    run.y = y;
    run.advance = advance;
    engine.fontNames.ensureLoaded();
    if (!selectedValid_ || selectedGeneration_ != engine.fontNames.generation()) {
        selectedFace_ = selectFaceName(normalizedName_, engine.fontNames, engine.installedFaces);
        selectedGeneration_ = engine.fontNames.generation();
        selectedValid_ = !engine.installedFaces.families().empty();
    }
    run.faceName = selectedFace_;
    run.fallbackFace = engine.fontNames.defaultFace();
    beginPrimitives();
    engine.surface.drawText(run);
    endPrimitives();
}

} // namespace quarnel::capture
