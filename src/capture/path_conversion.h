#pragma once
// Path conversion for the capture device: a path in device space becomes integer polylines
// (for strokes) or grouped polygons (for fills and clips), clamped around the page.
//
// Coordinates are device pixels, origin top-left, y down. A coordinate is rounded by adding 0.5
// and truncating toward zero, and then clamped: x into [-W, 2W], y into [-H, 2H] for a page of
// W x H pixels. NaN counts as 0 and infinities as the clamp bounds, so no input overflows.
#include "platform/region.h"

#include <cstdint>
#include <vector>

namespace quarnel::capture {

// One path point, already transformed to device space. `curve` marks a Bezier control point:
// a curve from point i - 1 to point i + 2 has its two control points i and i + 1 flagged, as
// the engine's subpaths flag them.
struct PathPoint {
    double x = 0;
    double y = 0;
    bool curve = false;
};

// `closed` is informational: the engine has already appended the closing line of a closed
// subpath as an ordinary point.
struct PathSubpath {
    std::vector<PathPoint> points;
    bool closed = false;
};

using DevicePoint = platform::RegionPoint;

// Integer polylines or polygons: `counts[k]` points of `points` in turn belong to the k-th.
struct ConvertedPath {
    std::vector<DevicePoint> points;
    std::vector<int32_t> counts;
};

struct LineSegment {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    bool operator==(const LineSegment &) const = default;
};

struct PageSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The squared distance within which a curve's control points count as flat enough:
// flatness squared, at least 1. The flatness may be fractional; NaN counts as 0.
double flatnessThreshold(double flatness);

// For strokes: one polyline per subpath, its curves flattened. A subpath without points gives
// no polyline.
ConvertedPath convertPath(const std::vector<PathSubpath> &subpaths, double flatness, PageSize page);

// For fills and clips: each subpath closed (its first point appended when the last differs)
// and the subpaths grouped into polygons. A group starts with the first subpath not yet
// grouped; the next subpath i joins when the bounding box of some subpath ii >= i strictly
// overlaps its own box, and then subpaths i to ii all join and the test goes on after ii. A
// subpath with a positive-area box overlaps itself, so only a flat one that no later box
// overlaps ends a group. Within a group each subpath is followed by a copy of the group's first
// point, which joins the subpaths into one polygon; the group's last copy is left out.
ConvertedPath convertClosedPath(const std::vector<PathSubpath> &subpaths, double flatness, PageSize page);

// The segments between consecutive points of every polyline or polygon (n - 1 for n points; a
// polygon's closing point is already among its points).
std::vector<LineSegment> pathSegments(const ConvertedPath &path);

// The pen width recorded for a stroke whose line width in device pixels is `deviceWidth`:
// rounded, at least 1 (NaN and negative widths give 1, huge ones saturate).
int32_t penWidth(double deviceWidth);

// The clip region of a converted closed path: the first polygon's region intersected with the
// region of every further one. A path without polygons clips everything away.
platform::Region clipRegion(const ConvertedPath &polygons, platform::PolygonFillMode mode);

} // namespace quarnel::capture
