#include "capture/image_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace quarnel::capture {

uint8_t imageComponent(double c)
{
    if (!(c > 0))
        return 0;
    if (c >= 1)
        return 255;
    return static_cast<uint8_t>(static_cast<uint32_t>(c * 65535 + 0.5) >> 8);
}

void storeImagePixel(uint8_t *out, uint8_t red, uint8_t green, uint8_t blue)
{
    const bool white = red == 255 && green == 255 && blue == 255;
    out[0] = white ? 250 : blue;
    out[1] = green;
    out[2] = red;
    out[3] = 0;
}

void storeMaskedPixel(uint8_t *out)
{
    out[0] = 255;
    out[1] = 255;
    out[2] = 250;
    out[3] = 0;
}

bool insideColorKey(const uint8_t *samples, int components, const int *ranges)
{
    for (int i = 0; i < components; ++i)
        if (samples[i] < ranges[2 * i] || samples[i] > ranges[2 * i + 1])
            return false;
    return true;
}

ImagePixels::ImagePixels(int32_t width, int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      bytes_(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4, 0)
{
}

void ImagePixels::flipRows()
{
    for (int32_t y = 0; y < height_; ++y) {
        auto *pixels = reinterpret_cast<uint32_t *>(row(y));
        std::reverse(pixels, pixels + width_);
    }
}

void ImagePixels::quarterTurn()
{
    std::vector<uint8_t> turned(bytes_.size());
    const size_t turnedRowBytes = static_cast<size_t>(height_) * 4;
    for (int32_t y = 0; y < height_; ++y) {
        const uint8_t *source = row(y);
        const size_t column = static_cast<size_t>(height_ - 1 - y) * 4;
        for (int32_t x = 0; x < width_; ++x)
            std::memcpy(turned.data() + static_cast<size_t>(x) * turnedRowBytes + column, source + x * 4, 4);
    }
    bytes_ = std::move(turned);
    std::swap(width_, height_);
}

void ImagePixels::orient(const ImageOrientation &orientation)
{
    if (orientation.flip)
        flipRows();
    if (orientation.turn)
        quarterTurn();
}

void expandMaskRow(const uint8_t *samples, int32_t width, bool invert, uint32_t color, uint8_t *out)
{
    const uint8_t blue = color >> 16 & 0xFF, green = color >> 8 & 0xFF, red = color & 0xFF;
    for (int32_t x = 0; x < width; ++x, out += 4) {
        const bool paint = (samples[x] != 0) == invert;
        out[0] = paint ? blue : 255;
        out[1] = paint ? green : 255;
        out[2] = paint ? red : 255;
        out[3] = 0;
    }
}

uint32_t maskPaintColor(uint32_t fillColor)
{
    return fillColor == 0x00FFFFFF ? 0x00F0FFFF : fillColor;
}

} // namespace quarnel::capture
