#include "platform/region.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace quarnel::platform {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels pixelsOf(const Region &region)
{
    Pixels pixels;
    for (const RegionRect &r : region.rectangles())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.insert({x, y});
    return pixels;
}

// Per-pixel reference: a pixel is inside when its centre is under the fill mode; an edge that
// passes exactly through a centre counts as left of it. Works on doubled coordinates so the
// centres are integers.
bool centreInside(int px, int py, std::span<const RegionPoint> points, std::span<const int32_t> counts,
                  PolygonFillMode mode)
{
    const int64_t cx = 2 * px + 1;
    const int64_t cy = 2 * py + 1;
    int winding = 0;
    int crossings = 0;
    std::size_t start = 0;
    for (int32_t n : counts) {
        for (int k = 0; k < n; ++k) {
            const RegionPoint a = points[start + k];
            const RegionPoint b = points[start + (k + 1) % n];
            const int64_t ay = 2 * a.y, by = 2 * b.y, ax = 2 * a.x, bx = 2 * b.x;
            if ((ay < cy) == (by < cy))
                continue;
            // The edge's x at cy is at or left of cx: (ax + (cy - ay)(bx - ax)/(by - ay)) <= cx.
            const int64_t lhs = ax * (by - ay) + (cy - ay) * (bx - ax);
            const bool atOrLeft = by > ay ? lhs <= cx * (by - ay) : lhs >= cx * (by - ay);
            if (atOrLeft) {
                winding += by > ay ? 1 : -1;
                ++crossings;
            }
        }
        start += static_cast<std::size_t>(n);
    }
    return mode == PolygonFillMode::Winding ? winding != 0 : (crossings & 1) != 0;
}

// The canonical band form: bands in y order, apart or touching, rectangles of a band sorted and
// apart, touching bands never with the same spans.
void expectCanonical(const Region &region)
{
    const std::vector<RegionRect> &rects = region.rectangles();
    std::vector<std::pair<int, int>> previousSpans;
    int previousBottom = INT32_MIN;
    for (std::size_t i = 0; i < rects.size();) {
        std::size_t end = i;
        std::vector<std::pair<int, int>> spans;
        while (end < rects.size() && rects[end].top == rects[i].top) {
            EXPECT_EQ(rects[end].bottom, rects[i].bottom);
            EXPECT_LT(rects[end].left, rects[end].right);
            if (end > i) {
                EXPECT_LT(rects[end - 1].right, rects[end].left);
            }
            spans.push_back({rects[end].left, rects[end].right});
            ++end;
        }
        EXPECT_LT(rects[i].top, rects[i].bottom);
        EXPECT_GE(rects[i].top, previousBottom);
        if (rects[i].top == previousBottom) {
            EXPECT_NE(spans, previousSpans) << "touching bands with the same spans at y " << rects[i].top;
        }
        previousSpans = spans;
        previousBottom = rects[i].bottom;
        i = end;
    }
}

std::vector<int32_t> readInts(const std::vector<uint8_t> &data)
{
    std::vector<int32_t> values;
    for (std::size_t i = 0; i + 4 <= data.size(); i += 4)
        values.push_back(static_cast<int32_t>(data[i] | data[i + 1] << 8 | data[i + 2] << 16 |
                                              static_cast<uint32_t>(data[i + 3]) << 24));
    return values;
}

TEST(Region, PageRectangleGivesTheExactDataBlock)
{
    const Region page = Region::fromRectangle({0, 0, 612, 792});
    EXPECT_EQ(readInts(page.regionData()), (std::vector<int32_t>{32, 1, 1, 16, 0, 0, 612, 792, 0, 0, 612, 792}));
    // The same page as a polygon, corners in either direction, and with swapped corners.
    const std::vector<RegionPoint> corners{{0, 0}, {612, 0}, {612, 792}, {0, 792}};
    EXPECT_EQ(Region::fromPolygon(corners, PolygonFillMode::Winding), page);
    const std::vector<RegionPoint> reversed(corners.rbegin(), corners.rend());
    EXPECT_EQ(Region::fromPolygon(reversed, PolygonFillMode::Alternate), page);
    EXPECT_EQ(Region::fromRectangle({612, 792, 0, 0}), page);

    const Region empty = Region::fromRectangle({5, 5, 5, 90});
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(readInts(empty.regionData()), (std::vector<int32_t>{32, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(Region, PolygonsFollowPixelCentresAndTheFillMode)
{
    struct Case {
        const char *name;
        std::vector<RegionPoint> points;
        std::vector<int32_t> counts;
        PolygonFillMode mode;
        std::vector<RegionRect> rects;
    };
    const std::vector<RegionPoint> star{{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
    const std::vector<RegionPoint> squareWithHole{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {3, 3}, {7, 3}, {7, 7}, {3, 7}};
    const Case cases[] = {
        {"triangle",
         {{0, 0}, {4, 0}, {0, 4}},
         {3},
         PolygonFillMode::Alternate,
         {{0, 0, 3, 1}, {0, 1, 2, 2}, {0, 2, 1, 3}}},
        {"hole, even-odd",
         squareWithHole,
         {4, 4},
         PolygonFillMode::Alternate,
         {{0, 0, 10, 3}, {0, 3, 3, 7}, {7, 3, 10, 7}, {0, 7, 10, 10}}},
        {"hole, same direction, winding", squareWithHole, {4, 4}, PolygonFillMode::Winding, {{0, 0, 10, 10}}},
        {"two rectangles side by side join",
         {{0, 0}, {5, 0}, {5, 4}, {0, 4}, {5, 0}, {9, 0}, {9, 4}, {5, 4}},
         {4, 4},
         PolygonFillMode::Alternate,
         {{0, 0, 9, 4}}},
        {"a line and a point fill nothing", {{0, 0}, {50, 50}, {7, 7}}, {2, 1}, PolygonFillMode::Winding, {}},
        {"tall vertical stretch is one band",
         {{0, 0}, {10, 0}, {10, 100000000}, {0, 100000000}},
         {4},
         PolygonFillMode::Winding,
         {{0, 0, 10, 100000000}}},
        {"counts beyond the points are cut short",
         {{0, 0}, {4, 0}, {4, 4}, {0, 4}},
         {4, 9, -3},
         PolygonFillMode::Winding,
         {{0, 0, 4, 4}}},
        {"huge coordinates are clamped",
         {{INT32_MIN, 0}, {INT32_MAX, 0}, {INT32_MAX, 2}, {INT32_MIN, 2}},
         {4},
         PolygonFillMode::Winding,
         {{-RegionCoordinateLimit, 0, RegionCoordinateLimit, 2}}},
    };
    for (const Case &c : cases) {
        const Region region = Region::fromPolygons(c.points, c.counts, c.mode);
        EXPECT_EQ(region.rectangles(), c.rects) << c.name;
    }

    // The self-intersecting star: its centre pentagon is a hole under even-odd only.
    const int32_t five = 5;
    const Region evenOdd = Region::fromPolygons(star, {&five, 1}, PolygonFillMode::Alternate);
    const Region winding = Region::fromPolygons(star, {&five, 1}, PolygonFillMode::Winding);
    EXPECT_FALSE(pixelsOf(evenOdd).contains({10, 10}));
    EXPECT_TRUE(pixelsOf(winding).contains({10, 10}));
}

TEST(Region, RandomPolygonsMatchThePerPixelRule)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-3, 24);
    std::uniform_int_distribution<int> vertexCount(3, 8);
    for (int round = 0; round < 300; ++round) {
        std::vector<RegionPoint> points;
        std::vector<int32_t> counts(1 + round % 3);
        for (int32_t &n : counts) {
            n = vertexCount(random);
            for (int k = 0; k < n; ++k)
                points.push_back({coordinate(random), coordinate(random)});
        }
        for (PolygonFillMode mode : {PolygonFillMode::Alternate, PolygonFillMode::Winding}) {
            const Region region = Region::fromPolygons(points, counts, mode);
            expectCanonical(region);
            Pixels expected;
            for (int y = -4; y < 26; ++y)
                for (int x = -4; x < 26; ++x)
                    if (centreInside(x, y, points, counts, mode))
                        expected.insert({x, y});
            ASSERT_EQ(pixelsOf(region), expected) << "round " << round << " mode " << static_cast<int>(mode);
        }
    }
}

TEST(Region, IntersectionKeepsCommonPixelsInCanonicalForm)
{
    // Two overlapping rectangles: one rectangle, bounding box and data block to match.
    const Region a = Region::fromRectangle({0, 0, 100, 50});
    const Region b = Region::fromRectangle({40, 20, 300, 400});
    EXPECT_EQ(a.intersected(b).rectangles(), (std::vector<RegionRect>{{40, 20, 100, 50}}));
    EXPECT_TRUE(a.intersected(Region::fromRectangle({100, 0, 200, 50})).isEmpty()); // right edge excluded
    EXPECT_TRUE(a.intersected(Region()).isEmpty());

    // Bands split by the other region join again where their spans agree.
    const std::vector<RegionPoint> frame{{0, 0}, {30, 0}, {30, 30}, {0, 30}, {10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const std::vector<int32_t> counts{4, 4};
    const Region ring = Region::fromPolygons(frame, counts, PolygonFillMode::Alternate);
    const Region cut = ring.intersected(Region::fromRectangle({0, 12, 12, 30}));
    EXPECT_EQ(cut.rectangles(), (std::vector<RegionRect>{{0, 12, 10, 20}, {0, 20, 12, 30}}));
    EXPECT_EQ(cut.boundingBox(), (RegionRect{0, 12, 12, 30}));

    // Random regions against the pixel sets.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 30);
    for (int round = 0; round < 200; ++round) {
        std::vector<RegionPoint> p1, p2;
        for (int k = 0; k < 6; ++k) {
            p1.push_back({coordinate(random), coordinate(random)});
            p2.push_back({coordinate(random), coordinate(random)});
        }
        const Region r1 = Region::fromPolygon(p1, PolygonFillMode::Alternate);
        const Region r2 = Region::fromPolygon(p2, PolygonFillMode::Winding);
        const Region both = r1.intersected(r2);
        expectCanonical(both);
        Pixels expected;
        const Pixels pixels2 = pixelsOf(r2);
        for (const auto &pixel : pixelsOf(r1))
            if (pixels2.contains(pixel))
                expected.insert(pixel);
        ASSERT_EQ(pixelsOf(both), expected) << "round " << round;
        EXPECT_EQ(both, r2.intersected(r1));
    }
}

TEST(Region, ManyRectangleClipsIntersectInLinearTime)
{
    // Two diagonals of 20000 squares each, one band per square: comparing every rectangle with
    // every other would take 4e8 steps; the band walk takes one pass.
    auto diagonal = [](int32_t offset, int32_t size) {
        std::vector<RegionPoint> points;
        for (int32_t k = 0; k < 20000; ++k) {
            const int32_t p = 4 * k + offset;
            points.insert(points.end(), {{p, p}, {p + size, p}, {p + size, p + size}, {p, p + size}});
        }
        return Region::fromPolygons(points, std::vector<int32_t>(20000, 4), PolygonFillMode::Winding);
    };
    const Region both = diagonal(0, 3).intersected(diagonal(2, 2));
    ASSERT_EQ(both.rectangles().size(), 20000u);
    EXPECT_EQ(both.rectangles()[7], (RegionRect{30, 30, 31, 31}));
    EXPECT_EQ(both.boundingBox(), (RegionRect{2, 2, 79999, 79999}));
}

TEST(Region, DataBlocksReadBackOrAreRejected)
{
    const std::vector<RegionPoint> frame{{0, 0}, {30, 0}, {30, 30}, {0, 30}, {10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const std::vector<int32_t> counts{4, 4};
    const Region ring = Region::fromPolygons(frame, counts, PolygonFillMode::Alternate);
    const std::vector<uint8_t> data = ring.regionData();
    ASSERT_EQ(data.size(), 32u + 4 * 16);
    EXPECT_EQ(rectanglesFromRegionData(data), ring.rectangles());

    auto broken = [&](std::size_t offset, uint8_t value) {
        std::vector<uint8_t> copy = data;
        copy[offset] = value;
        return copy;
    };
    EXPECT_FALSE(rectanglesFromRegionData(std::span(data).first(31)));
    EXPECT_FALSE(rectanglesFromRegionData(std::span(data).first(data.size() - 1)));
    EXPECT_FALSE(rectanglesFromRegionData(broken(0, 40)));    // dwSize
    EXPECT_FALSE(rectanglesFromRegionData(broken(4, 2)));     // iType
    EXPECT_FALSE(rectanglesFromRegionData(broken(11, 0x80))); // negative nCount
    EXPECT_FALSE(rectanglesFromRegionData(broken(10, 0x7f))); // nCount beyond the block
}

} // namespace
} // namespace quarnel::platform
