#include "capture/capture_output_dev.h"

#include <GfxState.h>

namespace quarnel::capture {

void CaptureOutputDev::startPage(int, GfxState *state, XRef *)
{
    pageWidth_ = state ? static_cast<int>(state->getPageWidth() + 0.5) : 0;
    pageHeight_ = state ? static_cast<int>(state->getPageHeight() + 0.5) : 0;
}

} // namespace quarnel::capture
