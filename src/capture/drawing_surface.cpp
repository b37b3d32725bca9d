#include "capture/drawing_surface.h"

#include "capture/element_recorder.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace quarnel::capture {
namespace {

// The screen is taken as 96 dpi: 96 / 0.0254 pixels per metre.
constexpr int32_t screenPixelsPerMetre = 3780;
// Larger bitmaps are refused rather than allocated: page sizes come from untrusted files.
constexpr int64_t maxBitmapPixels = int64_t{64} << 20;

void setColor(cairo_t *cr, uint32_t color)
{
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, ((color >> 16) & 0xFF) / 255.0);
}

void putUint32(std::vector<uint8_t> &out, size_t at, uint32_t value)
{
    std::memcpy(out.data() + at, &value, 4);
}

int32_t readInt32(const std::vector<uint8_t> &data, size_t at)
{
    int32_t value = 0;
    std::memcpy(&value, data.data() + at, 4);
    return value;
}

} // namespace

std::vector<uint8_t> rectangleRegionData(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const bool empty = right <= left || bottom <= top;
    std::vector<uint8_t> data(empty ? 32 : 48, 0);
    putUint32(data, 0, 32);
    putUint32(data, 4, 1);
    putUint32(data, 8, empty ? 0 : 1);
    putUint32(data, 12, empty ? 0 : 16);
    if (!empty) {
        for (size_t base : {size_t{16}, size_t{32}}) {
            putUint32(data, base, static_cast<uint32_t>(left));
            putUint32(data, base + 4, static_cast<uint32_t>(top));
            putUint32(data, base + 8, static_cast<uint32_t>(right));
            putUint32(data, base + 12, static_cast<uint32_t>(bottom));
        }
    }
    return data;
}

std::vector<ClipRectangle> regionRectangles(const std::vector<uint8_t> &regionData)
{
    std::vector<ClipRectangle> rectangles;
    if (regionData.size() < 32)
        return rectangles;
    const size_t count = static_cast<uint32_t>(readInt32(regionData, 8));
    const size_t fitting = std::min(count, (regionData.size() - 32) / 16);
    for (size_t i = 0; i < fitting; ++i) {
        const size_t at = 32 + i * 16;
        rectangles.push_back({readInt32(regionData, at), readInt32(regionData, at + 4), readInt32(regionData, at + 8),
                              readInt32(regionData, at + 12)});
    }
    return rectangles;
}

DrawingSurface::~DrawingSurface()
{
    releasePageBitmap();
}

void DrawingSurface::fillHeader(int bitCount)
{
    header_ = BitmapInfoHeader{};
    header_.biSize = 40;
    header_.biWidth = width_;
    header_.biHeight = height_;
    header_.biPlanes = 1;
    header_.biBitCount = static_cast<uint16_t>(bitCount);
    header_.biCompression = (bitCount == 16 || bitCount == 32) ? 3 : 0;
    const uint32_t rowBytes = (static_cast<uint32_t>(width_) * bitCount + 31) / 32 * 4;
    header_.biSizeImage = static_cast<uint32_t>(height_) * rowBytes;
    header_.biXPelsPerMeter = screenPixelsPerMetre;
    header_.biYPelsPerMeter = screenPixelsPerMetre;
    colorTable_.clear();
    if (bitCount == 16 || bitCount == 32) {
        const uint32_t masks16[] = {0xF800, 0x07E0, 0x001F};
        const uint32_t masks32[] = {0xFF0000, 0x00FF00, 0x0000FF};
        colorTable_.resize(12);
        for (size_t i = 0; i < 3; ++i)
            putUint32(colorTable_, i * 4, bitCount == 16 ? masks16[i] : masks32[i]);
    } else if (bitCount <= 8) {
        // A grey ramp stands in for the screen palette of the palette formats.
        const uint32_t colors = 1u << bitCount;
        colorTable_.resize(colors * 4);
        for (uint32_t i = 0; i < colors; ++i) {
            const auto grey = static_cast<uint8_t>(i * 255 / (colors - 1));
            colorTable_[i * 4] = colorTable_[i * 4 + 1] = colorTable_[i * 4 + 2] = grey;
        }
    }
}

bool DrawingSurface::createPageBitmap(int32_t width, int32_t height, int bitCount)
{
    constexpr int accepted[] = {1, 4, 8, 16, 24, 32};
    if (std::find(std::begin(accepted), std::end(accepted), bitCount) == std::end(accepted) || width <= 0 ||
        height <= 0 || int64_t{width} * height > maxBitmapPixels || width > 32767 || height > 32767)
        return false;
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    releasePageBitmap();
    surface_ = surface;
    width_ = width;
    height_ = height;
    fillHeader(bitCount);
    return true;
}

void DrawingSurface::releasePageBitmap()
{
    if (surface_)
        cairo_surface_destroy(surface_);
    surface_ = nullptr;
    width_ = height_ = 0;
    header_ = BitmapInfoHeader{};
    colorTable_.clear();
}

void DrawingSurface::fillPage(uint32_t color)
{
    if (!surface_)
        return;
    cairo_t *cr = cairo_create(surface_);
    setColor(cr, color);
    cairo_paint(cr);
    cairo_destroy(cr);
}

uint32_t DrawingSurface::pixel(int32_t x, int32_t y) const
{
    if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    cairo_surface_flush(surface_);
    const uint8_t *row =
        cairo_image_surface_get_data(surface_) + static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_);
    uint32_t argb = 0;
    std::memcpy(&argb, row + static_cast<size_t>(x) * 4, 4);
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

void DrawingSurface::setDrawingClip(const std::vector<uint8_t> *regionData)
{
    clipSet_ = regionData != nullptr;
    clip_ = regionData ? regionRectangles(*regionData) : std::vector<ClipRectangle>{};
}

cairo_t *DrawingSurface::beginDrawing() const
{
    if (!surface_)
        return nullptr;
    cairo_t *cr = cairo_create(surface_);
    if (clipSet_) {
        for (const ClipRectangle &r : clip_)
            cairo_rectangle(cr, r.left, r.top, static_cast<double>(r.right) - r.left,
                            static_cast<double>(r.bottom) - r.top);
        cairo_clip(cr); // an empty region clips everything away
    }
    return cr;
}

void DrawingSurface::endDrawing(cairo_t *cr) const
{
    cairo_destroy(cr);
}

void DrawingSurface::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, uint32_t color,
                              int32_t style)
{
    if (recording()) {
        recordElement(ElementLine, [&] { return page_model::newPageLine(x1, y1, x2, y2, width, color, style); });
        return;
    }
    cairo_t *cr = beginDrawing();
    if (!cr)
        return;
    const double penWidth = std::clamp(width, 1, 32767);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, penWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    if (style == 1) {
        const double dashes[] = {3 * penWidth, penWidth};
        cairo_set_dash(cr, dashes, 2, 0);
    }
    setColor(cr, color);
    // Pixel centres sit on integer device coordinates, as in the platform's line drawing.
    cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
    cairo_stroke(cr);
    endDrawing(cr);
}

void DrawingSurface::fillPolygon(const PagePoint *points, int32_t count, int32_t fillRule, uint32_t color)
{
    if (!points || count <= 0)
        return;
    if (recording()) {
        recordElement(ElementPolygon, [&] {
            return page_model::newPagePolygon(std::vector<PagePoint>(points, points + count), fillRule, color);
        });
        return;
    }
    cairo_t *cr = beginDrawing();
    if (!cr)
        return;
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, fillRule == 1 ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (int32_t i = 1; i < count; ++i)
        cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
    setColor(cr, color);
    cairo_fill(cr);
    endDrawing(cr);
}

void DrawingSurface::setClipRegion(const std::vector<uint8_t> *regionData)
{
    if (!recording())
        return;
    if (!regionData) {
        recordElement(ElementRegion, [] { return static_cast<PageRegion *>(nullptr); });
        return;
    }
    if (regionData->empty())
        return;
    recordElement(ElementRegion, [&] { return page_model::newPageRegion(*regionData); });
}

} // namespace quarnel::capture
