#include "capture/capture_output_dev.h"

#include "capture/engine_state.h"
#include "capture/text_geometry.h"

#include <GfxState.h>

namespace quarnel::capture {

CaptureOutputDev::CaptureOutputDev(std::string fileRoot) : fileRoot_(std::move(fileRoot)) {}

CaptureOutputDev::~CaptureOutputDev() = default;

void CaptureOutputDev::startPage(int pageNum, GfxState *state, XRef *xref)
{
    pageNumber_ = pageNum;
    pageWidth_ = state ? roundToInt32(state->getPageWidth()) : 0;
    pageHeight_ = state ? roundToInt32(state->getPageHeight()) : 0;
    DrawingSurface &surface = engineState().surface;
    surface.releasePageBitmap();
    if (surface.createPageBitmap(pageWidth_, pageHeight_, 24))
        surface.fillPage(0x00FFFFFF);
    GdiOutputDev::startPage(pageNum, state, xref);
}

// Images are captured with the paths and clips; until then their data is only read past, which
// an inline image needs so that the content stream stays in step.
void CaptureOutputDev::drawImageMask(GfxState *state, Object *ref, Stream *str, int width, int height, bool invert,
                                     bool interpolate, bool inlineImg)
{
    OutputDev::drawImageMask(state, ref, str, width, height, invert, interpolate, inlineImg);
}

void CaptureOutputDev::drawImage(GfxState *state, Object *ref, Stream *str, int width, int height,
                                 GfxImageColorMap *colorMap, bool interpolate, const int *maskColors, bool inlineImg)
{
    OutputDev::drawImage(state, ref, str, width, height, colorMap, interpolate, maskColors, inlineImg);
}

} // namespace quarnel::capture
