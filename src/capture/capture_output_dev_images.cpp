// Images and image masks of CaptureOutputDev: the samples are read through poppler's image
// stream and converted, oriented and placed by the rules of image_pixels.h and
// image_placement.h.
#include "capture/capture_output_dev.h"

#include "capture/engine_state.h"
#include "capture/image_pixels.h"
#include "capture/text_geometry.h"

#include <Error.h>
#include <GfxState.h>
#include <Object.h>
#include <Stream.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <new>
#include <optional>

namespace quarnel::capture {
namespace {

ImageMatrix matrixOf(const GfxState &state)
{
    const double *ctm = state.getCTM();
    return {ctm[0], ctm[1], ctm[2], ctm[3], ctm[4], ctm[5]};
}

// Reads past the data of an inline image that is not drawn, so that the content stream stays in
// step (image bytes may contain "EI"). Stops at the end of the content.
void skipInlineData(Stream *str, int64_t rows, int64_t rowBytes)
{
    if (!str || rows <= 0 || rowBytes <= 0)
        return;
    const int64_t bytes =
        rowBytes > std::numeric_limits<int64_t>::max() / rows ? std::numeric_limits<int64_t>::max() : rows * rowBytes;
    str->reset();
    for (int64_t i = 0; i < bytes; ++i)
        if (str->getChar() == EOF)
            break;
    str->close();
}

bool sizeAccepted(int width, int height)
{
    return width > 0 && height > 0 && width <= MaxImageSamples && height <= MaxImageSamples;
}

std::optional<ImagePixels> allocatePixels(int width, int height)
{
    try {
        return ImagePixels(width, height);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

// Turns the sample rows of one image into stored pixels.
class RowConverter {
public:
    RowConverter(GfxImageColorMap &colorMap, const int *maskColors)
        : colorMap_(colorMap), components_(colorMap.getNumPixelComps()), maskColors_(maskColors)
    {
        if (components_ == 1 && colorMap.getBits() <= 8)
            buildSampleTable();
        // An ICC profile is slow one pixel at a time; its line transform gives the same bytes.
        else if (colorMap.getBits() == 8 && colorMap.getColorSpace()->getMode() == csICCBased && colorMap.useRGBLine())
            lineBuffer_.resize(1);
    }

    void convert(unsigned char *line, int width, uint8_t *out)
    {
        if (!lineBuffer_.empty()) {
            lineBuffer_.resize(static_cast<size_t>(width));
            colorMap_.getRGBLine(line, lineBuffer_.data(), width);
        }
        for (int x = 0; x < width; ++x, out += 4) {
            const unsigned char *samples = line + static_cast<ptrdiff_t>(x) * components_;
            if (maskColors_ && insideColorKey(samples, components_, maskColors_)) {
                storeMaskedPixel(out);
            } else if (!table_.empty()) {
                std::copy(table_[*samples].begin(), table_[*samples].end(), out);
            } else if (!lineBuffer_.empty()) {
                const unsigned int rgb = lineBuffer_[static_cast<size_t>(x)];
                storeImagePixel(out, rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
            } else {
                GfxRGB rgb;
                colorMap_.getRGB(samples, &rgb);
                storeImagePixel(out, imageComponent(colToDbl(rgb.r)), imageComponent(colToDbl(rgb.g)),
                                imageComponent(colToDbl(rgb.b)));
            }
        }
    }

private:
    // The stored pixel of every sample value of a one-component image, so that each pixel is a
    // look-up instead of a colour conversion.
    void buildSampleTable()
    {
        table_.resize(size_t{1} << colorMap_.getBits());
        for (size_t v = 0; v < table_.size(); ++v) {
            const auto sample = static_cast<unsigned char>(v);
            GfxRGB rgb;
            colorMap_.getRGB(&sample, &rgb);
            storeImagePixel(table_[v].data(), imageComponent(colToDbl(rgb.r)), imageComponent(colToDbl(rgb.g)),
                            imageComponent(colToDbl(rgb.b)));
        }
    }

    GfxImageColorMap &colorMap_;
    int components_;
    const int *maskColors_;
    std::vector<std::array<uint8_t, 4>> table_;
    std::vector<unsigned int> lineBuffer_;
};

uint32_t fillColorOf(GfxState &state)
{
    GfxRGB rgb;
    state.getFillRGB(&rgb);
    return colorRef(colToDbl(rgb.r), colToDbl(rgb.g), colToDbl(rgb.b));
}

} // namespace

void CaptureOutputDev::drawImage(GfxState *state, Object *, Stream *str, int width, int height,
                                 GfxImageColorMap *colorMap, bool, const int *maskColors, bool inlineImg)
{
    if (captureImage(state, str, width, height, colorMap, maskColors) || !inlineImg || !colorMap)
        return;
    const int64_t bitsPerRow = int64_t{width} * colorMap->getNumPixelComps() * colorMap->getBits();
    skipInlineData(str, height, (bitsPerRow + 7) / 8);
}

void CaptureOutputDev::drawMaskedImage(GfxState *state, Object *ref, Stream *str, int width, int height,
                                       GfxImageColorMap *colorMap, bool interpolate, Stream *, int, int, bool, bool)
{
    drawImage(state, ref, str, width, height, colorMap, interpolate, nullptr, false);
}

void CaptureOutputDev::drawSoftMaskedImage(GfxState *state, Object *ref, Stream *str, int width, int height,
                                           GfxImageColorMap *colorMap, bool interpolate, Stream *, int, int,
                                           GfxImageColorMap *, bool)
{
    drawImage(state, ref, str, width, height, colorMap, interpolate, nullptr, false);
}

bool CaptureOutputDev::captureImage(GfxState *state, Stream *str, int width, int height, GfxImageColorMap *colorMap,
                                    const int *maskColors)
{
    if (!state || !str || !colorMap || !colorMap->isOk() || !sizeAccepted(width, height) || insideSoftMask())
        return false;
    const int components = colorMap->getNumPixelComps();
    const int bits = colorMap->getBits();
    if (components < 1 || components > gfxColorMaxComps || bits < 1 || bits > 16)
        return false;
    const ImagePlacement placement = placeImage(matrixOf(*state), pageSize());
    if (!placement.visible)
        return false;
    std::optional<ImagePixels> pixels = allocatePixels(width, height);
    if (!pixels)
        return false;
    RowConverter converter(*colorMap, maskColors);
    ImageStream image(str, width, components, bits);
    image.reset();
    for (int r = 0; r < height; ++r) {
        unsigned char *line = image.getLine();
        if (!line)
            break;
        converter.convert(line, width, pixels->row(pixels->rowFor(r, placement.orientation.topDown)));
    }
    image.close();
    putPlacedPixels(*pixels, placement);
    return true;
}

void CaptureOutputDev::putPlacedPixels(ImagePixels &pixels, const ImagePlacement &placement)
{
    pixels.orient(placement.orientation);
    const ImageRect &d = placement.dest;
    beginPrimitives();
    engineState().surface.putImage(32, 0, pixels.width(), pixels.height(), pixels.bytes().data(), d.left, d.top,
                                   d.width, d.height);
    endPrimitives();
}

void CaptureOutputDev::drawImageMask(GfxState *state, Object *, Stream *str, int width, int height, bool invert, bool,
                                     bool inlineImg)
{
    if (!captureImageMask(state, str, width, height, invert) && inlineImg)
        skipInlineData(str, height, (int64_t{width} + 7) / 8);
}

bool CaptureOutputDev::captureImageMask(GfxState *state, Stream *str, int width, int height, bool invert)
{
    if (!state || !str)
        return false;
    const MaskPlacement placement = placeImageMask(matrixOf(*state), pageSize());
    if (placement.singular) {
        error(errSyntaxError, -1, "Singular CTM in drawImage");
        return false;
    }
    if (!placement.visible || !sizeAccepted(width, height) || insideSoftMask())
        return false;
    std::optional<ImagePixels> pixels = allocatePixels(width, height);
    if (!pixels)
        return false;
    // A DCT-coded mask is decoded like any other: the stream gives its samples.
    const uint32_t color = maskPaintColor(fillColorOf(*state));
    ImageStream mask(str, width, 1, 1);
    mask.reset();
    for (int r = 0; r < height; ++r) {
        const unsigned char *line = mask.getLine();
        if (!line)
            break;
        expandMaskRow(line, width, invert, color, pixels->row(pixels->rowFor(r, placement.orientation.topDown)));
    }
    mask.close();
    putPlacedPixels(*pixels, placement);
    return true;
}

} // namespace quarnel::capture
