#pragma once
// The pixels of a captured image: a 32-bit buffer (blue, green, red, 0 per pixel) whose rows are
// stored bottom-up, as a device-independent bitmap keeps them, filled one image row at a time.
#include "capture/image_placement.h"

#include <cstdint>
#include <vector>

namespace quarnel::capture {

// Images larger than this in either direction are not captured.
inline constexpr int32_t MaxImageSamples = 10000;

// One 8-bit component from a value in 0..1: trunc(c x 65535 + 0.5) >> 8, out-of-range values
// clamped.
uint8_t imageComponent(double c);

// The four bytes stored for a pixel of an image. Pure white would be transparent where the
// picture is drawn over the page, so it is kept as blue 250.
void storeImagePixel(uint8_t *out, uint8_t red, uint8_t green, uint8_t blue);
// The bytes of a pixel masked out by a colour key (red 250, green 255, blue 255).
void storeMaskedPixel(uint8_t *out);
// True when every component of `samples` lies in its [min, max] pair of `ranges`.
bool insideColorKey(const uint8_t *samples, int components, const int *ranges);

class ImagePixels {
public:
    // Throws std::bad_alloc when the buffer cannot be had; sizes come from checked images.
    ImagePixels(int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // The bytes of memory row `row` (0 is the bottom of the picture).
    uint8_t *row(int32_t row) { return bytes_.data() + static_cast<size_t>(row) * width_ * 4; }
    // The memory row for image row r (0 is the image's first row).
    int32_t rowFor(int32_t imageRow, bool topDown) const { return topDown ? imageRow : height_ - 1 - imageRow; }
    const std::vector<uint8_t> &bytes() const { return bytes_; }

    // Reverses the pixels of every row.
    void flipRows();
    // A quarter turn: the pixel at column x of memory row y moves to column height - 1 - y of
    // memory row x, so the buffer becomes height pixels wide and width rows high.
    void quarterTurn();
    // Applies the flip and the turn of an orientation (rows were already placed by rowFor).
    void orient(const ImageOrientation &orientation);

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> bytes_;
};

// One row of an image mask, one sample (0 or 1) per pixel. Unless `invert`, a 0 sample paints;
// painted pixels take `color` (0x00BBGGRR), the others are white.
void expandMaskRow(const uint8_t *samples, int32_t width, bool invert, uint32_t color, uint8_t *out);
// The colour an image mask is painted in: pure white would vanish over the page, so it becomes
// 0x00F0FFFF.
uint32_t maskPaintColor(uint32_t fillColor);

} // namespace quarnel::capture
