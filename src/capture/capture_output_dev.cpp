#include "capture/capture_output_dev.h"

#include "capture/engine_state.h"
#include "capture/text_geometry.h"

#include <GfxState.h>

namespace quarnel::capture {

CaptureOutputDev::CaptureOutputDev() = default;

CaptureOutputDev::~CaptureOutputDev() = default;

void CaptureOutputDev::startPage(int pageNum, GfxState *state, XRef *xref)
{
    pageNumber_ = pageNum;
    pageWidth_ = state ? roundToInt32(state->getPageWidth()) : 0;
    pageHeight_ = state ? roundToInt32(state->getPageHeight()) : 0;
    DrawingSurface &surface = engineState().surface;
    surface.releasePageBitmap();
    // A captured page records its elements and draws nothing, so its bitmap would only be
    // allocated and painted white for nobody: a fifth of the capture time on text pages.
    if (!engineState().currentPageObject && surface.createPageBitmap(pageWidth_, pageHeight_, 24))
        surface.fillPage(0x00FFFFFF);
    GdiOutputDev::startPage(pageNum, state, xref);
}

} // namespace quarnel::capture
