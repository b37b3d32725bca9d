#pragma once
// The device every page of a document is displayed through (one per open document). It sets up
// the page bitmap at each page start; everything else is GdiOutputDev's.
#include "capture/gdi_output_dev.h"

#include <string>

namespace quarnel::capture {

class CaptureOutputDev : public GdiOutputDev {
public:
    // `fileRoot` names the JPEG files of DCT-coded image masks ("<root>-000.jpg", ...).
    explicit CaptureOutputDev(std::string fileRoot = "/tmp");
    ~CaptureOutputDev() override;

    void startPage(int pageNum, GfxState *state, XRef *xref) override;
    void drawImageMask(GfxState *state, Object *ref, Stream *str, int width, int height, bool invert, bool interpolate,
                       bool inlineImg) override;
    void drawImage(GfxState *state, Object *ref, Stream *str, int width, int height, GfxImageColorMap *colorMap,
                   bool interpolate, const int *maskColors, bool inlineImg) override;

    // Page size in pixels at the display resolution, rounded (width + 0.5, truncated).
    int pageWidth() const { return pageWidth_; }
    int pageHeight() const { return pageHeight_; }
    int pageNumber() const { return pageNumber_; }

private:
    int pageNumber_ = 0;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    std::string fileRoot_;
    int imageFileCounter_ = 0; // counts over the device's whole life, across pages
};

} // namespace quarnel::capture
