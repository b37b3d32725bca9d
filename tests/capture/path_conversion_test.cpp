#include "capture/path_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace quarnel::capture {
namespace {

using platform::PolygonFillMode;
using platform::RegionRect;

constexpr PageSize Page{612, 792};

PathSubpath polyline(std::vector<DevicePoint> points)
{
    PathSubpath subpath;
    for (const DevicePoint &p : points)
        subpath.points.push_back({double(p.x), double(p.y), false});
    return subpath;
}

// A rectangle as the engine hands it over: four corners and the closing point.
PathSubpath rectangle(int x, int y, int w, int h)
{
    PathSubpath subpath = polyline({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}});
    subpath.closed = true;
    return subpath;
}

PathSubpath curve(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3)
{
    return {{{x0, y0, false}, {x1, y1, true}, {x2, y2, true}, {x3, y3, false}}, false};
}

TEST(PathConversion, FilledRectangleIsOnePolygonWithItsOutline)
{
    const ConvertedPath filled = convertClosedPath({rectangle(10, 20, 100, 50)}, 1, Page);
    const std::vector<DevicePoint> corners{{10, 20}, {110, 20}, {110, 70}, {10, 70}, {10, 20}};
    EXPECT_EQ(filled.points, corners);
    EXPECT_EQ(filled.counts, std::vector<int32_t>{5});
    EXPECT_EQ(pathSegments(filled),
              (std::vector<LineSegment>{{10, 20, 110, 20}, {110, 20, 110, 70}, {110, 70, 10, 70}, {10, 70, 10, 20}}));

    // Without the closing point, closing adds it; a stroke keeps the path open.
    const PathSubpath open = polyline({{10, 20}, {110, 20}, {110, 70}, {10, 70}});
    EXPECT_EQ(convertClosedPath({open}, 1, Page).points, corners);
    const ConvertedPath stroked = convertPath({open, polyline({{5, 5}})}, 1, Page);
    EXPECT_EQ(stroked.counts, (std::vector<int32_t>{4, 1}));
    EXPECT_EQ(pathSegments(stroked).size(), 3u); // a one-point subpath draws nothing
}

TEST(PathConversion, SquareWithHoleIsOnePolygonJoinedThroughItsFirstPoint)
{
    const ConvertedPath filled = convertClosedPath({rectangle(0, 0, 30, 30), rectangle(10, 10, 10, 10)}, 1, Page);
    EXPECT_EQ(filled.counts, std::vector<int32_t>{11});
    ASSERT_EQ(filled.points.size(), 11u);
    EXPECT_EQ(filled.points[5], (DevicePoint{0, 0}));
    EXPECT_EQ(filled.points[6], (DevicePoint{10, 10}));

    // The joining edges cancel out: even-odd leaves the hole, winding (both drawn the same way)
    // fills it.
    EXPECT_EQ(clipRegion(filled, PolygonFillMode::Alternate).rectangles(),
              (std::vector<RegionRect>{{0, 0, 30, 10}, {0, 10, 10, 20}, {20, 10, 30, 20}, {0, 20, 30, 30}}));
    EXPECT_EQ(clipRegion(filled, PolygonFillMode::Winding).rectangles(), (std::vector<RegionRect>{{0, 0, 30, 30}}));
}

TEST(PathConversion, SubpathsGroupByStrictBoxOverlap)
{
    const PathSubpath squareA = rectangle(0, 0, 20, 20);
    const PathSubpath squareB = rectangle(100, 100, 20, 20); // apart from A, but not flat
    const PathSubpath flatLine = polyline({{0, 50}, {100, 50}});
    const PathSubpath acrossLine = rectangle(40, 40, 20, 20);
    struct Case {
        const char *name;
        std::vector<PathSubpath> subpaths;
        std::vector<int32_t> counts;
    };
    const Case cases[] = {
        {"boxes with area always join", {squareA, squareB}, {11}},
        {"a flat box that nothing later overlaps starts a new group", {squareA, flatLine, squareB}, {5, 9}},
        {"a flat box overlapped later joins with all between", {squareA, flatLine, acrossLine}, {15}},
        {"a flat first subpath still leads its group", {flatLine, squareB}, {9}},
        {"a flat last subpath", {squareA, squareB, flatLine}, {11, 3}},
        {"empty subpaths are dropped", {PathSubpath{}, squareA, PathSubpath{}}, {5}},
    };
    for (const Case &c : cases) {
        const ConvertedPath filled = convertClosedPath(c.subpaths, 1, Page);
        EXPECT_EQ(filled.counts, c.counts) << c.name;
    }

    // Many flat subpaths that nothing overlaps, in an order that keeps every search going:
    // each stays a group of its own, and the last one leads the two squares after it.
    std::vector<PathSubpath> manyLines;
    for (int k = 0; k < 100000; ++k) {
        const int y = k * 7919 % 100000;
        manyLines.push_back(polyline({{0, y}, {100, y}}));
    }
    manyLines.push_back(rectangle(200, 0, 20, 20));
    manyLines.push_back(rectangle(210, 10, 20, 20));
    const ConvertedPath lines = convertClosedPath(manyLines, 1, {612, 100000});
    std::vector<int32_t> expected(99999, 3);
    expected.push_back(15);
    EXPECT_EQ(lines.counts, expected);

    // Separators take the group's first point; the line is closed back to its start.
    const ConvertedPath split = convertClosedPath({squareA, flatLine, squareB}, 1, Page);
    const std::vector<DevicePoint> second(split.points.begin() + 5, split.points.end());
    EXPECT_EQ(second,
              (std::vector<DevicePoint>{
                  {0, 50}, {100, 50}, {0, 50}, {0, 50}, {100, 100}, {120, 100}, {120, 120}, {100, 120}, {100, 100}}));
    // A clip intersects the groups' regions: A and B have nothing in common.
    EXPECT_TRUE(clipRegion(split, PolygonFillMode::Winding).isEmpty());
    EXPECT_TRUE(clipRegion(ConvertedPath{}, PolygonFillMode::Winding).isEmpty());
    EXPECT_EQ(
        clipRegion(convertClosedPath({squareA, flatLine, rectangle(10, 10, 30, 30)}, 1, Page), PolygonFillMode::Winding)
            .rectangles(),
        (std::vector<RegionRect>{{10, 10, 20, 20}}));
    // One group (the square crosses the line): the union under winding.
    EXPECT_EQ(
        clipRegion(convertClosedPath({squareA, flatLine, rectangle(10, 10, 30, 45)}, 1, Page), PolygonFillMode::Winding)
            .rectangles(),
        (std::vector<RegionRect>{{0, 0, 20, 10}, {0, 10, 40, 20}, {10, 20, 40, 55}}));
}

TEST(PathConversion, CoordinatesAreRoundedAndClampedAroundThePage)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double x, y;
        DevicePoint expected;
    };
    const Case cases[] = {
        {10.5, 10.49, {11, 10}},       {-5000, 100, {-612, 100}}, {-0.7, -1.2, {0, 0}}, // toward zero after adding 0.5
        {1e300, -1e300, {1224, -792}}, {inf, -inf, {1224, -792}}, {nan, nan, {0, 0}},   {2000, 3000, {1224, 1584}},
    };
    for (const Case &c : cases) {
        const PathSubpath single{{{c.x, c.y, false}}, false};
        const ConvertedPath converted = convertPath({single}, 1, Page);
        ASSERT_EQ(converted.points.size(), 1u);
        EXPECT_EQ(converted.points[0], c.expected) << c.x << ", " << c.y;
    }
    // A degenerate page clamps everything to 0 instead of failing.
    EXPECT_EQ(convertPath({polyline({{-5, 7}})}, 1, {0, -3}).points, (std::vector<DevicePoint>{{0, 0}}));
}

TEST(PathConversion, CurvesAreFlattenedWithinTheThreshold)
{
    struct Case {
        double flatness, threshold;
    };
    for (const Case c : {Case{0, 1}, Case{0.5, 1}, Case{1, 1}, Case{1.5, 2.25}, Case{3, 9}, Case{NAN, 1}})
        EXPECT_DOUBLE_EQ(flatnessThreshold(c.flatness), c.threshold) << c.flatness;

    // A quarter-circle-like arc: every emitted point is a rounded point of the exact curve, and a
    // coarser flatness gives fewer points.
    const PathSubpath arc = curve(0, 0, 0, 110, 90, 200, 200, 200);
    auto bezier = [](double t, double a, double b, double c, double d) {
        const double s = 1 - t;
        return s * s * s * a + 3 * s * s * t * b + 3 * s * t * t * c + t * t * t * d;
    };
    const ConvertedPath fine = convertPath({arc}, 1, Page);
    ASSERT_GE(fine.points.size(), 9u);
    ASSERT_LE(fine.points.size(), 65u);
    EXPECT_EQ(fine.points.back(), (DevicePoint{200, 200}));
    for (const DevicePoint &p : fine.points) {
        bool onCurve = false;
        for (int k = 0; k <= 64 && !onCurve; ++k) {
            const double t = k / 64.0;
            onCurve =
                std::abs(bezier(t, 0, 0, 90, 200) - p.x) <= 0.5 && std::abs(bezier(t, 0, 110, 200, 200) - p.y) <= 0.5;
        }
        EXPECT_TRUE(onCurve) << p.x << ", " << p.y;
    }
    EXPECT_LT(convertPath({arc}, 8, Page).points.size(), fine.points.size());
    EXPECT_EQ(convertPath({arc}, 0.25, Page).points, fine.points); // fractional flatness: at least 1

    // Control points within the threshold of the chord's midpoint: one straight piece. Wild
    // control points stop at 64 pieces.
    EXPECT_EQ(convertPath({curve(0, 0, 15, 1, 15, -1, 30, 0)}, 1, Page).points,
              (std::vector<DevicePoint>{{0, 0}, {30, 0}}));
    EXPECT_EQ(convertPath({curve(0, 0, 1e12, -1e12, NAN, 5, 30, 0)}, 1, Page).points.size(), 65u);
}

TEST(PathConversion, StrokeWidthIsRoundedToAtLeastOnePixel)
{
    struct Case {
        double width;
        int32_t expected;
    };
    const Case cases[] = {{0.3, 1}, {0, 1},  {1.49, 1}, {1.5, 2},
                          {7.6, 8}, {-4, 1}, {NAN, 1},  {1e20, std::numeric_limits<int32_t>::max()}};
    for (const Case &c : cases)
        EXPECT_EQ(penWidth(c.width), c.expected) << c.width;
}

} // namespace
} // namespace quarnel::capture
