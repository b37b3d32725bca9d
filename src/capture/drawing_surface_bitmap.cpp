// The image primitive and the packed copy of the page bitmap.
#include "capture/drawing_surface.h"

#include "capture/element_recorder.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace quarnel::capture {
namespace {

// The packed row of one bitmap row in the header's format.
void packRow(const uint32_t *argb, int32_t width, int bitCount, uint8_t *out)
{
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t p = argb[x];
        const uint8_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        switch (bitCount) {
        case 32:
            out[x * 4] = b, out[x * 4 + 1] = g, out[x * 4 + 2] = r, out[x * 4 + 3] = 0;
            break;
        case 24:
            out[x * 3] = b, out[x * 3 + 1] = g, out[x * 3 + 2] = r;
            break;
        case 16: {
            const uint16_t v = static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
            out[x * 2] = v & 0xFF, out[x * 2 + 1] = v >> 8;
            break;
        }
        default: { // 1, 4, 8: an index into the grey ramp
            const unsigned levels = (1u << bitCount) - 1;
            const unsigned grey = (r * 299u + g * 587u + b * 114u) / 1000u;
            const unsigned index = (grey * levels + 127) / 255;
            const int32_t perByte = 8 / bitCount;
            const int shift = 8 - bitCount * (x % perByte + 1);
            out[x / perByte] = static_cast<uint8_t>(out[x / perByte] | index << shift);
            break;
        }
        }
    }
}

// The colour (0x00BBGGRR) of sample x of a DIB row; false for the formats that are not drawn.
bool sampleColor(int bitCount, uint32_t color, const uint8_t *row, int32_t x, uint32_t &bgr)
{
    switch (bitCount) {
    case 32:
    case 24: {
        const uint8_t *p = row + static_cast<size_t>(x) * (bitCount / 8);
        bgr = uint32_t{p[2]} | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16; // 0x00BBGGRR
        return true;
    }
    case 1:
        bgr = (row[x / 8] >> (7 - x % 8)) & 1 ? color : 0x00FFFFFF;
        return true;
    default:
        return false;
    }
}

// A PageImage holding a copy of the caller's rows; `dest` is left, top, width, height.
PageImage *newImageBody(int bitCount, uint32_t color, int32_t srcWidth, int32_t srcHeight, const uint8_t *pixels,
                        int32_t pixelBytes, ClipRectangle dest)
{
    auto image = std::make_unique<PageImage>();
    image->header.biSize = 40;
    image->header.biWidth = srcWidth;
    image->header.biHeight = srcHeight;
    image->header.biPlanes = 1;
    image->header.biBitCount = static_cast<uint16_t>(bitCount);
    image->colorTable[0] = RgbQuad{255, 255, 255, 0};
    image->colorTable[1] =
        RgbQuad{static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8), static_cast<uint8_t>(color), 0};
    image->destX = dest.left;
    image->destY = dest.top;
    image->destWidth = dest.right;
    image->destHeight = dest.bottom;
    image->pixelBytes = pixelBytes;
    image->pixels = new uint8_t[static_cast<size_t>(pixelBytes)];
    std::memcpy(image->pixels, pixels, static_cast<size_t>(pixelBytes));
    return image.release();
}

} // namespace

platform::GlobalBlockHandle DrawingSurface::packedBitmap() const
{
    if (!surface_)
        return nullptr;
    const size_t rowBytes = (static_cast<size_t>(width_) * header_.biBitCount + 31) / 32 * 4;
    const size_t size = sizeof header_ + colorTable_.size() + header_.biSizeImage;
    platform::GlobalBlockHandle block = platform::allocateGlobalBlock(size);
    auto *out = static_cast<uint8_t *>(platform::globalBlockData(block));
    if (!out) {
        platform::freeGlobalBlock(block);
        return nullptr;
    }
    std::memcpy(out, &header_, sizeof header_);
    if (!colorTable_.empty())
        std::memcpy(out + sizeof header_, colorTable_.data(), colorTable_.size());
    uint8_t *bits = out + sizeof header_ + colorTable_.size();
    cairo_surface_flush(surface_);
    const uint8_t *data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int32_t y = 0; y < height_; ++y) {
        const auto *source = reinterpret_cast<const uint32_t *>(data + static_cast<size_t>(y) * stride);
        packRow(source, width_, header_.biBitCount, bits + static_cast<size_t>(height_ - 1 - y) * rowBytes);
    }
    return block;
}

void DrawingSurface::putImage(int bitCount, uint32_t color, int32_t srcWidth, int32_t srcHeight, const uint8_t *pixels,
                              int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight)
{
    if (!pixels || srcWidth <= 0 || srcHeight <= 0 || bitCount <= 0 || bitCount > 32)
        return;
    const int64_t rowBytes = (int64_t{bitCount} * srcWidth + 31) / 32 * 4;
    if (recording()) {
        if (destWidth <= 0 || destHeight <= 0 || rowBytes * srcHeight > std::numeric_limits<int32_t>::max())
            return;
        recordElement(ElementImage, [&] {
            return newImageBody(bitCount, color, srcWidth, srcHeight, pixels,
                                static_cast<int32_t>(rowBytes * srcHeight),
                                ClipRectangle{destX, destY, destWidth, destHeight});
        });
        return;
    }
    // Only the part of the stretched image that falls on the page is built.
    const int64_t left = std::max<int64_t>(destX, 0), top = std::max<int64_t>(destY, 0);
    const int64_t right = std::min<int64_t>(int64_t{destX} + destWidth, width_);
    const int64_t bottom = std::min<int64_t>(int64_t{destY} + destHeight, height_);
    if (!surface_ || right <= left || bottom <= top)
        return;
    const int visibleWidth = static_cast<int>(right - left), visibleHeight = static_cast<int>(bottom - top);
    cairo_surface_t *stretched = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, visibleWidth, visibleHeight);
    if (cairo_surface_status(stretched) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(stretched);
        return;
    }
    uint8_t *data = cairo_image_surface_get_data(stretched);
    const int stride = cairo_image_surface_get_stride(stretched);
    bool drawable = true;
    for (int vy = 0; vy < visibleHeight && drawable; ++vy) {
        const int64_t sy = (top + vy - destY) * srcHeight / destHeight;
        const uint8_t *row = pixels + (srcHeight - 1 - sy) * rowBytes; // bottom-up rows
        auto *out = reinterpret_cast<uint32_t *>(data + static_cast<size_t>(vy) * stride);
        for (int vx = 0; vx < visibleWidth; ++vx) {
            const auto sx = static_cast<int32_t>((left + vx - destX) * srcWidth / destWidth);
            uint32_t bgr = 0;
            if (!(drawable = sampleColor(bitCount, color, row, sx, bgr)))
                break;
            // Exactly white is transparent; every other colour covers the page.
            out[vx] = bgr == 0x00FFFFFF ? 0 : 0xFF000000 | (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
        }
    }
    cairo_surface_mark_dirty(stretched);
    if (drawable) {
        cairo_t *cr = beginDrawing();
        cairo_set_source_surface(cr, stretched, static_cast<double>(left), static_cast<double>(top));
        cairo_paint(cr);
        endDrawing(cr);
    }
    cairo_surface_destroy(stretched);
}

} // namespace quarnel::capture
