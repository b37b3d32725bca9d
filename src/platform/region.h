#pragma once
// Clip regions as y-x bands of rectangles, the stand-in for Windows regions.
//
// Coordinates are device pixels, y down. A rectangle covers the pixels left <= x < right and
// top <= y < bottom: like a Windows region, it excludes its right and bottom edges. The
// rectangles are kept in the canonical order Windows gives them: bands sorted by y, rectangles
// sorted by x within a band, no two rectangles of a band touching, and two bands that touch
// vertically with the same spans merged into one. So two regions covering the same pixels have
// the same rectangles and the same region data block.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quarnel::platform {

struct RegionRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const RegionRect &) const = default;
};

struct RegionPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const RegionPoint &) const = default;
};

// The Windows polygon fill modes, with their values.
enum class PolygonFillMode : int32_t { Alternate = 1, Winding = 2 };

// Size of the region data header: dwSize, iType, nCount, nRgnSize, then the bounding rectangle.
inline constexpr std::size_t RegionDataHeaderSize = 32;
// Polygon coordinates are limited to what GDI accepts (27 bits); larger ones are clamped.
inline constexpr int32_t RegionCoordinateLimit = (1 << 27) - 1;

class Region {
public:
    // The empty region.
    Region() = default;

    // The pixels of a rectangle; swapped corners are put in order, as CreateRectRgn does. A
    // rectangle without width or height gives the empty region.
    static Region fromRectangle(const RegionRect &rect);

    // The pixels inside a set of polygons under the fill mode, as CreatePolyPolygonRgn decides:
    // a pixel is inside when its centre is; a centre exactly on an edge belongs to the pixel
    // right of (or below) that edge. `counts` gives the number of points of each polygon, taken
    // from `points` in order; each polygon is closed implicitly. Counts beyond the points given
    // are cut short, negative counts count as 0. Time grows with the scanlines that cross
    // slanted edges; spans between vertical edges are produced one band at a time.
    static Region fromPolygons(std::span<const RegionPoint> points, std::span<const int32_t> counts,
                               PolygonFillMode mode);
    static Region fromPolygon(std::span<const RegionPoint> points, PolygonFillMode mode);

    // The pixels in both regions; linear in the number of rectangles.
    Region intersected(const Region &other) const;

    bool isEmpty() const { return rects_.empty(); }
    // The smallest rectangle holding the region; all zero for the empty region.
    RegionRect boundingBox() const;
    // The rectangles in band order.
    const std::vector<RegionRect> &rectangles() const { return rects_; }

    // The Windows region data block (as GetRegionData fills it): a 32-byte header (dwSize 32,
    // iType 1, nCount, nRgnSize = nCount * 16, the bounding rectangle), then the rectangles as
    // left, top, right, bottom; every field a little-endian int32.
    std::vector<uint8_t> regionData() const;

    bool operator==(const Region &) const = default;

private:
    friend class RegionBandBuilder;
    std::vector<RegionRect> rects_;
};

// The rectangles of a region data block, or nothing when the block is not one: shorter than its
// header, a header size other than 32, a type other than 1, or fewer rectangle bytes than
// nCount says. Rectangles without area are left out.
std::optional<std::vector<RegionRect>> rectanglesFromRegionData(std::span<const uint8_t> data);

} // namespace quarnel::platform
