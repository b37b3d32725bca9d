#include "capture/path_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

namespace quarnel::capture {
namespace {

// Device coordinates beyond this are far outside any page; clamping to it first keeps the
// integer conversion defined for huge values and infinities.
constexpr double CoordinateLimit = 1e15;
// Curves are split at most six times: 64 pieces.
constexpr int MaxCurveDepth = 6;

struct WidePoint {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const WidePoint &) const = default;
};

int64_t roundCoordinate(double v)
{
    if (std::isnan(v))
        return 0;
    // trunc(v + 0.5): toward zero, as the device's rounding has always been.
    return static_cast<int64_t>(std::clamp(v + 0.5, -CoordinateLimit, CoordinateLimit));
}

WidePoint roundPoint(double x, double y)
{
    return {roundCoordinate(x), roundCoordinate(y)};
}

struct Bezier {
    double x0, y0, x1, y1, x2, y2, x3, y3;
};

// Midpoint subdivision until both control points lie within the threshold (a squared
// distance) of the chord's midpoint; each piece contributes its end point.
void flattenCurve(const Bezier &b, double threshold, int depth, std::vector<WidePoint> &out)
{
    const double mx = (b.x0 + b.x3) * 0.5;
    const double my = (b.y0 + b.y3) * 0.5;
    const double d1 = (b.x1 - mx) * (b.x1 - mx) + (b.y1 - my) * (b.y1 - my);
    const double d2 = (b.x2 - mx) * (b.x2 - mx) + (b.y2 - my) * (b.y2 - my);
    if (depth >= MaxCurveDepth || (d1 <= threshold && d2 <= threshold)) {
        out.push_back(roundPoint(b.x3, b.y3));
        return;
    }
    const double ax = (b.x0 + b.x1) * 0.5, ay = (b.y0 + b.y1) * 0.5;
    const double bx = (b.x1 + b.x2) * 0.5, by = (b.y1 + b.y2) * 0.5;
    const double cx = (b.x2 + b.x3) * 0.5, cy = (b.y2 + b.y3) * 0.5;
    const double abx = (ax + bx) * 0.5, aby = (ay + by) * 0.5;
    const double bcx = (bx + cx) * 0.5, bcy = (by + cy) * 0.5;
    const double midX = (abx + bcx) * 0.5, midY = (aby + bcy) * 0.5;
    flattenCurve({b.x0, b.y0, ax, ay, abx, aby, midX, midY}, threshold, depth + 1, out);
    flattenCurve({midX, midY, bcx, bcy, cx, cy, b.x3, b.y3}, threshold, depth + 1, out);
}

void flattenSubpath(const PathSubpath &subpath, double threshold, std::vector<WidePoint> &out)
{
    out.clear();
    const std::vector<PathPoint> &p = subpath.points;
    if (p.empty())
        return;
    out.push_back(roundPoint(p[0].x, p[0].y));
    for (std::size_t j = 1; j < p.size();) {
        if (p[j].curve && j + 2 < p.size()) {
            flattenCurve({p[j - 1].x, p[j - 1].y, p[j].x, p[j].y, p[j + 1].x, p[j + 1].y, p[j + 2].x, p[j + 2].y},
                         threshold, 0, out);
            j += 3;
        } else {
            out.push_back(roundPoint(p[j].x, p[j].y));
            ++j;
        }
    }
}

DevicePoint clampToPage(const WidePoint &p, PageSize page)
{
    const int64_t w = std::max(page.width, 0);
    const int64_t h = std::max(page.height, 0);
    return {static_cast<int32_t>(std::clamp(p.x, -w, 2 * w)), static_cast<int32_t>(std::clamp(p.y, -h, 2 * h))};
}

struct Box {
    int32_t xMin, yMin, xMax, yMax;
};

Box boxOf(std::span<const DevicePoint> points)
{
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const DevicePoint &p : points) {
        box.xMin = std::min(box.xMin, p.x);
        box.yMin = std::min(box.yMin, p.y);
        box.xMax = std::max(box.xMax, p.x);
        box.yMax = std::max(box.yMax, p.y);
    }
    return box;
}

bool overlapsStrictly(const Box &a, const Box &b)
{
    return a.xMax > b.xMin && a.xMin < b.xMax && a.yMax > b.yMin && a.yMin < b.yMax;
}

// The closed subpaths, clamped, each as a range of `points`.
struct ClosedSubpaths {
    std::vector<DevicePoint> points;
    std::vector<std::size_t> starts; // one more than there are subpaths
    std::vector<Box> boxes;

    std::span<const DevicePoint> subpath(std::size_t k) const
    {
        return std::span(points).subspan(starts[k], starts[k + 1] - starts[k]);
    }
};

ClosedSubpaths closeSubpaths(const std::vector<PathSubpath> &subpaths, double threshold, PageSize page)
{
    ClosedSubpaths closed;
    closed.starts.push_back(0);
    std::vector<WidePoint> flat;
    for (const PathSubpath &subpath : subpaths) {
        flattenSubpath(subpath, threshold, flat);
        if (flat.empty())
            continue;
        if (flat.back() != flat.front())
            flat.push_back(flat.front());
        for (const WidePoint &p : flat)
            closed.points.push_back(clampToPage(p, page));
        closed.starts.push_back(closed.points.size());
        closed.boxes.push_back(boxOf(closed.subpath(closed.boxes.size())));
    }
    return closed;
}

// The search for the subpath whose box overlaps a flat one (a box with area overlaps itself).
// `reach[i]` is the union of the boxes from i on: a flat box it does not overlap is overlapped
// by none of them, which settles most searches at once. The searches that must scan share a
// budget of comparisons per path; once it is spent they find nothing, which can only end groups
// earlier, so that a path of very many flat subpaths costs no more than that.
class OverlapSearch {
public:
    explicit OverlapSearch(const std::vector<Box> &boxes)
        : boxes_(boxes), reach_(boxes.size() + 1, Box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN})
    {
        for (std::size_t k = boxes.size(); k-- > 0;) {
            const Box &b = boxes[k];
            const Box &r = reach_[k + 1];
            reach_[k] = {std::min(b.xMin, r.xMin), std::min(b.yMin, r.yMin), std::max(b.xMax, r.xMax),
                         std::max(b.yMax, r.yMax)};
        }
    }

    // The first subpath from i on whose box strictly overlaps box i, or the subpath count.
    std::size_t firstOverlap(std::size_t i)
    {
        if (overlapsStrictly(boxes_[i], boxes_[i]))
            return i;
        if (!overlapsStrictly(reach_[i], boxes_[i]))
            return boxes_.size();
        for (std::size_t ii = i + 1; ii < boxes_.size() && budget_ > 0; ++ii, --budget_)
            if (overlapsStrictly(boxes_[ii], boxes_[i]))
                return ii;
        return boxes_.size();
    }

    // One past the last subpath of the group that starts at `start`.
    std::size_t groupEnd(std::size_t start)
    {
        std::size_t end = start + 1;
        for (std::size_t i = start + 1; i < boxes_.size(); i = end) {
            const std::size_t ii = firstOverlap(i);
            if (ii == boxes_.size())
                break;
            end = ii + 1;
        }
        return end;
    }

private:
    static constexpr long SearchBudget = 1L << 26;

    const std::vector<Box> &boxes_;
    std::vector<Box> reach_;
    long budget_ = SearchBudget;
};

} // namespace

double flatnessThreshold(double flatness)
{
    const double squared = flatness * flatness;
    return std::isnan(squared) ? 1.0 : std::max(squared, 1.0);
}

ConvertedPath convertPath(const std::vector<PathSubpath> &subpaths, double flatness, PageSize page)
{
    const double threshold = flatnessThreshold(flatness);
    ConvertedPath out;
    std::vector<WidePoint> flat;
    for (const PathSubpath &subpath : subpaths) {
        flattenSubpath(subpath, threshold, flat);
        if (flat.empty())
            continue;
        for (const WidePoint &p : flat)
            out.points.push_back(clampToPage(p, page));
        out.counts.push_back(static_cast<int32_t>(flat.size()));
    }
    return out;
}

ConvertedPath convertClosedPath(const std::vector<PathSubpath> &subpaths, double flatness, PageSize page)
{
    const ClosedSubpaths closed = closeSubpaths(subpaths, flatnessThreshold(flatness), page);
    OverlapSearch search(closed.boxes);
    ConvertedPath out;
    for (std::size_t start = 0; start < closed.boxes.size();) {
        const std::size_t end = search.groupEnd(start);
        const std::size_t groupStart = out.points.size();
        const DevicePoint first = closed.points[closed.starts[start]];
        for (std::size_t k = start; k < end; ++k) {
            if (k > start)
                out.points.push_back(first); // separator: back to the group's first point
            const std::span<const DevicePoint> points = closed.subpath(k);
            out.points.insert(out.points.end(), points.begin(), points.end());
        }
        out.counts.push_back(static_cast<int32_t>(out.points.size() - groupStart));
        start = end;
    }
    return out;
}

std::vector<LineSegment> pathSegments(const ConvertedPath &path)
{
    std::vector<LineSegment> segments;
    std::size_t start = 0;
    for (int32_t count : path.counts) {
        for (int32_t k = 1; k < count; ++k) {
            const DevicePoint &a = path.points[start + static_cast<std::size_t>(k) - 1];
            const DevicePoint &b = path.points[start + static_cast<std::size_t>(k)];
            segments.push_back({a.x, a.y, b.x, b.y});
        }
        start += static_cast<std::size_t>(std::max(count, 0));
    }
    return segments;
}

int32_t penWidth(double deviceWidth)
{
    const double rounded = std::trunc(deviceWidth + 0.5);
    if (!(rounded >= 1.0))
        return 1;
    return rounded >= static_cast<double>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                               : static_cast<int32_t>(rounded);
}

platform::Region clipRegion(const ConvertedPath &polygons, platform::PolygonFillMode mode)
{
    platform::Region region;
    std::size_t start = 0;
    for (std::size_t k = 0; k < polygons.counts.size(); ++k) {
        const auto count = static_cast<std::size_t>(std::max(polygons.counts[k], 0));
        const platform::Region part =
            platform::Region::fromPolygon(std::span(polygons.points).subspan(start, count), mode);
        region = k == 0 ? part : region.intersected(part);
        start += count;
    }
    return region;
}

} // namespace quarnel::capture
