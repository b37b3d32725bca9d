#include "writer/png_encoder.h"

#include <png.h>

#include <cstring>

namespace quarnel::writer {
namespace {

constexpr size_t HeaderSize = 40;
// PNG's own limit on a dimension.
constexpr int32_t MaxDimension = 1 << 24;

int32_t readInt32(const uint8_t *p)
{
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

uint16_t readUint16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void appendToString(png_structp png, png_bytep bytes, png_size_t size)
{
    auto *out = static_cast<std::string *>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char *>(bytes), size);
}

void flushNothing(png_structp) {}

// Runs the libpng calls; libpng reports errors by longjmp, so nothing here owns resources that
// need destructors.
bool writeRows(png_structp png, png_infop info, const uint8_t *pixels, const BitmapShape &shape,
               const PixelRect &crop, png_bytep row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, uint32_t(crop.width()), uint32_t(crop.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Scanned pages dominate the writer's time; the fastest level costs about a tenth more bytes
    // and saves two thirds of the time.
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    const size_t stride = size_t(shape.width) * 4;
    for (int32_t y = crop.top; y < crop.bottom; ++y) {
        const int32_t sourceRow = shape.bottomUp ? shape.height - 1 - y : y;
        const uint8_t *source = pixels + size_t(sourceRow) * stride + size_t(crop.left) * 4;
        for (int32_t x = 0; x < crop.width(); ++x) {
            row[x * 3 + 0] = source[x * 4 + 2];
            row[x * 3 + 1] = source[x * 4 + 1];
            row[x * 3 + 2] = source[x * 4 + 0];
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

// Like writeRows, for pixels already in PNG's RGBA order.
bool writeRgbaRows(png_structp png, png_infop info, const uint8_t *pixels, int32_t width, int32_t height)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, uint32_t(width), uint32_t(height), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Line drawings are mostly empty rows that deflate to almost nothing without filtering;
    // trying every filter on each row would cost more than the compression itself.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    const size_t stride = size_t(width) * 4;
    for (int32_t y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(pixels + size_t(y) * stride));
    png_write_end(png, info);
    return true;
}

} // namespace

std::optional<BitmapShape> checkBitmap(const std::vector<uint8_t> &data)
{
    if (data.size() < HeaderSize)
        return std::nullopt;
    const uint8_t *h = data.data();
    const uint32_t size = uint32_t(readInt32(h));
    const int32_t width = readInt32(h + 4);
    const int32_t height = readInt32(h + 8);
    const uint16_t planes = readUint16(h + 12);
    const uint16_t bitCount = readUint16(h + 14);
    const uint32_t compression = uint32_t(readInt32(h + 16));
    if (size != HeaderSize || planes != 1 || bitCount != 32 || compression != 0)
        return std::nullopt;
    if (width <= 0 || width > MaxDimension || height == 0 || height == INT32_MIN)
        return std::nullopt;
    const int32_t rows = height < 0 ? -height : height;
    if (rows > MaxDimension)
        return std::nullopt;
    const uint64_t pixelBytes = uint64_t(width) * uint64_t(rows) * 4;
    if (pixelBytes != data.size() - HeaderSize)
        return std::nullopt;
    return BitmapShape{width, rows, height > 0};
}

std::string encodePng(const std::vector<uint8_t> &data, const BitmapShape &shape, const PixelRect &crop)
{
    if (crop.left < 0 || crop.top < 0 || crop.right > shape.width || crop.bottom > shape.height ||
        crop.width() <= 0 || crop.height() <= 0)
        return {};
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(size_t(crop.width()) * 3);
    bool ok = false;
    if (info) {
        png_set_write_fn(png, &out, appendToString, flushNothing);
        ok = writeRows(png, info, data.data() + HeaderSize, shape, crop, row.data());
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!ok)
        out.clear();
    return out;
}

std::string encodeRgbaPng(const std::vector<uint8_t> &rgba, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || width > MaxDimension || height > MaxDimension ||
        rgba.size() != size_t(width) * size_t(height) * 4)
        return {};
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    bool ok = false;
    if (info) {
        png_set_write_fn(png, &out, appendToString, flushNothing);
        ok = writeRgbaRows(png, info, rgba.data(), width, height);
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!ok)
        out.clear();
    return out;
}

} // namespace quarnel::writer
