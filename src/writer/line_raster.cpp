#include "writer/line_raster.h"

#include "writer/line_geometry.h"
#include "writer/png_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quarnel::writer {
namespace {

// A pen wider than this (about 29 pt at zoom 100) is a filled area drawn as a stroke; capping it
// keeps a line's cost bounded by the page's side.
constexpr double MaxPenPixels = 100.0;

} // namespace

// A line in pixels walked along its major axis `a`, filling at each step a span across the
// minor axis `b` as long as the pen's thickness measured along that axis.
struct LineRaster::Walk {
    bool alongX;
    double a1, a2, b1, b2;
    double thickness;   // pixels along b
    double lengthUnits; // the visible line's length, for the dashes
    double phase;       // how far into the dash pattern the line starts
    bool dashed;
    DashPattern dashes;
    uint32_t rgba;
};

LineRaster::LineRaster(int32_t pageWidth, int32_t pageHeight)
    : pageWidth_(std::max(pageWidth, 1)), pageHeight_(std::max(pageHeight, 1))
{
    const double area = double(pageWidth_) * double(pageHeight_);
    const double scale = area > double(MaxPixels) ? std::sqrt(double(MaxPixels) / area) : 1.0;
    width_ = std::max(1, int32_t(pageWidth_ * scale));
    height_ = std::max(1, int32_t(pageHeight_ * scale));
    scaleX_ = double(width_) / pageWidth_;
    scaleY_ = double(height_) / pageHeight_;
    pixels_.assign(size_t(width_) * size_t(height_) * 4, 0);
}

void LineRaster::draw(const layout::ShapeRecordBody &line)
{
    Segment s{double(line.x), double(line.y), double(line.x) + line.dx, double(line.y) + line.dy};
    if (!clipToPage(s, pageWidth_, pageHeight_))
        return;
    const double lengthUnits = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    const double x1 = s.x1 * scaleX_, y1 = s.y1 * scaleY_, x2 = s.x2 * scaleX_, y2 = s.y2 * scaleY_;
    const double pen = std::clamp(std::max(line.penWidth, 0) * (scaleX_ + scaleY_) / 2, 1.0, MaxPenPixels);
    const bool alongX = std::abs(x2 - x1) >= std::abs(y2 - y1);
    // A pen of width w crossing the minor axis at an angle covers w / cos(angle) of it.
    const double major = alongX ? std::abs(x2 - x1) : std::abs(y2 - y1);
    const double thickness = major > 0 ? pen * std::hypot(x2 - x1, y2 - y1) / major : pen;
    // Colours are 0x00BBGGRR; the pixels' bytes are red, green, blue, alpha.
    uint32_t rgba = 0;
    const uint8_t bytes[4] = {uint8_t(line.color), uint8_t(line.color >> 8), uint8_t(line.color >> 16), 255};
    std::memcpy(&rgba, bytes, 4);
    const bool dashed = line.penStyle == 1 && lengthUnits > 0;
    const DashPattern dashes = dashPatternFor(line.penWidth);
    const bool continues = dashed && std::abs(s.x1 - dashEndX_) < 1 && std::abs(s.y1 - dashEndY_) < 1;
    const double phase = continues ? dashPhase_ : 0.0;
    Walk w{alongX,
           alongX ? x1 : y1,
           alongX ? x2 : y2,
           alongX ? y1 : x1,
           alongX ? y2 : x2,
           thickness,
           lengthUnits,
           phase,
           dashed,
           dashes,
           rgba};
    walk(w);
    if (dashed) {
        dashEndX_ = s.x2;
        dashEndY_ = s.y2;
        dashPhase_ = std::fmod(phase + lengthUnits, dashes.dash + dashes.gap);
    } else {
        dashEndX_ = dashEndY_ = -1;
    }
}

void LineRaster::walk(const Walk &w)
{
    const int32_t limitA = w.alongX ? width_ : height_, limitB = w.alongX ? height_ : width_;
    const int32_t first = std::clamp(int32_t(std::floor(std::min(w.a1, w.a2))), 0, limitA - 1);
    // A pixel the line only touches at its end is not drawn, a line shorter than a pixel is.
    const int32_t last = std::clamp(int32_t(std::ceil(std::max(w.a1, w.a2))) - 1, first, limitA - 1);
    const double period = w.dashes.dash + w.dashes.gap;
    const int32_t count = std::max(1, int32_t(std::lround(w.thickness)));
    for (int32_t a = first; a <= last; ++a) {
        const double t = w.a2 == w.a1 ? 0.0 : std::clamp((a + 0.5 - w.a1) / (w.a2 - w.a1), 0.0, 1.0);
        if (w.dashed && std::fmod(w.phase + t * w.lengthUnits, period) >= w.dashes.dash)
            continue;
        const double b = w.b1 + t * (w.b2 - w.b1);
        // A line on the page's far edge still shows, in its last pixel row or column.
        const int32_t from = std::clamp(int32_t(std::lround(b - w.thickness / 2)), 1 - count, limitB - 1);
        for (int32_t k = std::max(from, 0); k < std::min(from + count, limitB); ++k)
            w.alongX ? fill(a, k, w.rgba) : fill(k, a, w.rgba);
    }
}

void LineRaster::fill(int32_t x, int32_t y, uint32_t rgba)
{
    std::memcpy(&pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 4], &rgba, 4);
    inked_ = true;
}

uint32_t LineRaster::pixelAt(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const uint8_t *p = &pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 4];
    return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

std::string LineRaster::encodePng() const
{
    return encodeRgbaPng(pixels_, width_, height_);
}

} // namespace quarnel::writer
