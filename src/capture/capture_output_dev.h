#pragma once
// The device every page of a document is displayed through (one per open document). It sets up
// the page bitmap at each page start and captures images; everything else is GdiOutputDev's.
#include "capture/gdi_output_dev.h"
#include "capture/image_pixels.h"
#include "capture/image_placement.h"

#include <cstdint>

namespace quarnel::capture {

class CaptureOutputDev : public GdiOutputDev {
public:
    CaptureOutputDev();
    ~CaptureOutputDev() override;

    void startPage(int pageNum, GfxState *state, XRef *xref) override;
    void drawImageMask(GfxState *state, Object *ref, Stream *str, int width, int height, bool invert, bool interpolate,
                       bool inlineImg) override;
    void drawImage(GfxState *state, Object *ref, Stream *str, int width, int height, GfxImageColorMap *colorMap,
                   bool interpolate, const int *maskColors, bool inlineImg) override;
    // The picture of a masked image is kept; its mask is dropped.
    void drawMaskedImage(GfxState *state, Object *ref, Stream *str, int width, int height, GfxImageColorMap *colorMap,
                         bool interpolate, Stream *maskStr, int maskWidth, int maskHeight, bool maskInvert,
                         bool maskInterpolate) override;
    void drawSoftMaskedImage(GfxState *state, Object *ref, Stream *str, int width, int height,
                             GfxImageColorMap *colorMap, bool interpolate, Stream *maskStr, int maskWidth,
                             int maskHeight, GfxImageColorMap *maskColorMap, bool maskInterpolate) override;

    // Page size in pixels at the display resolution, rounded (width + 0.5, truncated).
    int pageWidth() const { return pageWidth_; }
    int pageHeight() const { return pageHeight_; }
    int pageNumber() const { return pageNumber_; }

private:
    // False when nothing was drawn, so that the data of an inline image is still to be read past.
    bool captureImage(GfxState *state, Stream *str, int width, int height, GfxImageColorMap *colorMap,
                      const int *maskColors);
    bool captureImageMask(GfxState *state, Stream *str, int width, int height, bool invert);
    // Turns the decoded samples as the placement says and puts them on the page.
    void putPlacedPixels(ImagePixels &pixels, const ImagePlacement &placement);

    int pageNumber_ = 0;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
};

} // namespace quarnel::capture
