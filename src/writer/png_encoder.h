#pragma once
// Pictures of the intermediate file (a 32-bit BITMAPINFOHEADER and its pixel rows) as PNG.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnel::writer {

struct BitmapShape {
    int32_t width = 0;
    int32_t height = 0; // rows; always positive here
    bool bottomUp = true;
};

// Checks the 40-byte header against the data that follows it: size 40, one plane, 32 bits per
// pixel, uncompressed, and exactly width × |height| × 4 bytes of pixels. Nothing when the header
// does not describe the data (the record is then skipped).
std::optional<BitmapShape> checkBitmap(const std::vector<uint8_t> &data);

// A part of a bitmap in pixels, rows counted from the top; right and bottom are excluded.
struct PixelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// Encodes the part `crop` of the pixels (blue, green, red, unused) as an RGB PNG; `crop` must
// lie inside the bitmap and not be empty. Empty on failure.
std::string encodePng(const std::vector<uint8_t> &data, const BitmapShape &shape, const PixelRect &crop);

// Encodes width × height pixels given as rows of red, green, blue, alpha bytes, top row first,
// as an RGBA PNG. Empty on failure or when `rgba` does not hold exactly that many pixels.
std::string encodeRgbaPng(const std::vector<uint8_t> &rgba, int32_t width, int32_t height);

} // namespace quarnel::writer
