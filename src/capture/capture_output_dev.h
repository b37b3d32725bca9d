#pragma once
// The output device every page is displayed through. For now it measures the page and records
// nothing; the page size it computes is the one every page object reports.
#include <OutputDev.h>

namespace quarnel::capture {

class CaptureOutputDev : public OutputDev {
public:
    bool upsideDown() override { return true; }
    bool useDrawChar() override { return true; }
    bool interpretType3Chars() override { return false; }
    bool needNonText() override { return false; }

    void startPage(int pageNum, GfxState *state, XRef *xref) override;

    // Page size in pixels at the display resolution, rounded (width + 0.5, truncated).
    int pageWidth() const { return pageWidth_; }
    int pageHeight() const { return pageHeight_; }

private:
    int pageWidth_ = 0;
    int pageHeight_ = 0;
};

} // namespace quarnel::capture
