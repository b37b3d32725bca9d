// Polygon scan conversion for Region::fromPolygons: one pass down the scanlines over the edges
// that cross them, so the cost follows the edges and scanlines, never the rectangles squared.
#include "platform/region.h"

#include "platform/region_band_builder.h"

#include <algorithm>
#include <limits>

namespace quarnel::platform {
namespace {

// A non-horizontal polygon edge, oriented downward: it crosses the scanlines y with
// top <= y < bottom (their pixel centres y + 0.5 lie between its end points).
struct Edge {
    int64_t x0 = 0;
    int64_t top = 0;
    int64_t dx = 0; // x change from top to bottom
    int64_t bottom = 0;
    int direction = 1; // +1 when the polygon runs downward along it, -1 upward
};

struct Crossing {
    int64_t x = 0; // first pixel whose centre lies right of (or on) the edge
    int direction = 0;
};

int64_t ceilDiv(int64_t numerator, int64_t positiveDenominator)
{
    const int64_t quotient = numerator / positiveDenominator;
    return quotient + ((numerator % positiveDenominator) > 0 ? 1 : 0);
}

// ceil(xi - 0.5), xi being where the edge meets the centre line of scanline y; exact integer
// arithmetic, so shared vertices and edges of neighbouring polygons meet without gaps.
int64_t crossingPixel(const Edge &edge, int64_t y)
{
    if (edge.dx == 0)
        return edge.x0;
    const int64_t dy = edge.bottom - edge.top;
    const int64_t numerator = 2 * edge.x0 * dy + (2 * (y - edge.top) + 1) * edge.dx - dy;
    return ceilDiv(numerator, 2 * dy);
}

RegionPoint clampPoint(RegionPoint p)
{
    p.x = std::clamp(p.x, -RegionCoordinateLimit, RegionCoordinateLimit);
    p.y = std::clamp(p.y, -RegionCoordinateLimit, RegionCoordinateLimit);
    return p;
}

std::vector<Edge> collectEdges(std::span<const RegionPoint> points, std::span<const int32_t> counts)
{
    std::vector<Edge> edges;
    std::size_t start = 0;
    for (int32_t count : counts) {
        const std::size_t n =
            std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), points.size() - start);
        for (std::size_t k = 0; k < n; ++k) {
            const RegionPoint a = clampPoint(points[start + k]);
            const RegionPoint b = clampPoint(points[start + (k + 1) % n]);
            if (a.y == b.y)
                continue; // horizontal edges cross no scanline centre
            const bool down = a.y < b.y;
            const RegionPoint &upper = down ? a : b;
            const RegionPoint &lower = down ? b : a;
            edges.push_back({upper.x, upper.y, int64_t{lower.x} - upper.x, lower.y, down ? 1 : -1});
        }
        start += n;
    }
    std::sort(edges.begin(), edges.end(), [](const Edge &l, const Edge &r) { return l.top < r.top; });
    return edges;
}

// The inside spans of scanline y under the fill mode.
void scanlineSpans(const std::vector<const Edge *> &active, int64_t y, PolygonFillMode mode,
                   std::vector<Crossing> &crossings, std::vector<RegionSpan> &spans)
{
    crossings.clear();
    for (const Edge *edge : active)
        crossings.push_back({crossingPixel(*edge, y), edge->direction});
    std::sort(crossings.begin(), crossings.end(), [](const Crossing &l, const Crossing &r) { return l.x < r.x; });
    spans.clear();
    int winding = 0;
    int parity = 0;
    int64_t spanStart = 0;
    for (const Crossing &c : crossings) {
        const bool wasInside = mode == PolygonFillMode::Winding ? winding != 0 : parity != 0;
        winding += c.direction;
        parity ^= 1;
        const bool inside = mode == PolygonFillMode::Winding ? winding != 0 : parity != 0;
        if (!wasInside && inside)
            spanStart = c.x;
        else if (wasInside && !inside)
            appendSpan(spans, spanStart, c.x);
    }
}

} // namespace

Region Region::fromPolygon(std::span<const RegionPoint> points, PolygonFillMode mode)
{
    const auto count = static_cast<int32_t>(std::min<std::size_t>(points.size(), std::numeric_limits<int32_t>::max()));
    return fromPolygons(points, {&count, 1}, mode);
}

Region Region::fromPolygons(std::span<const RegionPoint> points, std::span<const int32_t> counts, PolygonFillMode mode)
{
    const std::vector<Edge> edges = collectEdges(points, counts);
    RegionBandBuilder builder;
    std::vector<const Edge *> active;
    std::vector<Crossing> crossings;
    std::vector<RegionSpan> spans;
    std::size_t next = 0; // first edge not yet active
    int64_t y = edges.empty() ? 0 : edges.front().top;
    while (next < edges.size() || !active.empty()) {
        std::erase_if(active, [y](const Edge *edge) { return edge->bottom <= y; });
        if (active.empty() && next < edges.size() && edges[next].top > y)
            y = edges[next].top; // skip the gap between separate parts
        while (next < edges.size() && edges[next].top <= y)
            active.push_back(&edges[next++]);
        if (active.empty())
            continue;

        // Up to the next edge start or end the crossings only move along slanted edges; when
        // every active edge is vertical the whole stretch is one band.
        int64_t stretchEnd = next < edges.size() ? edges[next].top : std::numeric_limits<int64_t>::max();
        bool allVertical = true;
        for (const Edge *edge : active) {
            stretchEnd = std::min(stretchEnd, edge->bottom);
            allVertical = allVertical && edge->dx == 0;
        }
        const int64_t bandBottom = allVertical ? stretchEnd : y + 1;
        scanlineSpans(active, y, mode, crossings, spans);
        builder.appendBand(static_cast<int32_t>(y), static_cast<int32_t>(bandBottom), spans);
        y = bandBottom;
    }
    return builder.finish();
}

} // namespace quarnel::platform
