// Lines drawn into a page picture: pens, colours, dashes, directions, clipping and page sizes.
#include "writer/line_raster.h"

#include <gtest/gtest.h>

namespace quarnel::testing {
namespace {

using writer::LineRaster;

constexpr uint32_t Transparent = 0;

layout::ShapeRecordBody line(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t penWidth = 1, int32_t color = 0,
                             int32_t penStyle = 0)
{
    return layout::ShapeRecordBody{x, y, dx, dy, penWidth, color, penStyle};
}

TEST(LineRaster, DrawsPenColourAndDirectionWhereTheLineRuns)
{
    struct Probe {
        int x, y;
        uint32_t pixel;
    };
    struct Case {
        const char *name;
        layout::ShapeRecordBody line;
        std::vector<Probe> probes;
    } cases[] = {
        // 0x00BBGGRR in the record, opaque 0xAARRGGBB in the picture.
        {"red pen 5 wide",
         line(10, 50, 80, 0, 5, 0x0000FF),
         {{50, 48, 0xFFFF0000},
          {50, 52, 0xFFFF0000},
          {50, 46, Transparent},
          {50, 54, Transparent},
          {9, 50, Transparent},
          {90, 50, Transparent}}},
        {"blue vertical", line(30, 10, 0, 60, 1, 0xFF0000), {{30, 40, 0xFF0000FF}, {31, 40, Transparent}}},
        {"up and to the left",
         line(80, 80, -60, -60, 1, 0x00FF00),
         {{50, 50, 0xFF00FF00}, {21, 21, 0xFF00FF00}, {50, 70, Transparent}}},
        {"steep, negative dx",
         line(60, 10, -10, 80),
         {{54, 50, 0xFF000000}, {57, 30, 0xFF000000}, {60, 50, Transparent}}},
        {"thinner than a unit", line(10, 20, 50, 0, 0), {{30, 20, 0xFF000000}, {30, 21, Transparent}}},
        {"clipped at both sides", line(-50, 10, 200, 0), {{0, 10, 0xFF000000}, {99, 10, 0xFF000000}}},
        {"on the bottom edge", line(10, 100, 50, 0), {{30, 99, 0xFF000000}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LineRaster raster(100, 100);
        raster.draw(c.line);
        EXPECT_TRUE(raster.inked());
        for (const Probe &p : c.probes)
            EXPECT_EQ(raster.pixelAt(p.x, p.y), p.pixel) << p.x << "," << p.y;
    }
}

TEST(LineRaster, DrawsDashesAlongDashedLinesAndAcrossTheirPieces)
{
    struct Case {
        const char *name;
        std::vector<layout::ShapeRecordBody> lines; // together from x = 20 to 380 at y = 50
    } cases[] = {
        {"left to right", {line(20, 50, 360, 0, 2, 0, 1)}},
        {"right to left", {line(380, 50, -360, 0, 2, 0, 1)}},
        {"a curve's pieces",
         [] {
             std::vector<layout::ShapeRecordBody> pieces;
             for (int x = 20; x < 380; x += 5)
                 pieces.push_back(line(x, 50, 5, 0, 2, 0, 1));
             return pieces;
         }()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LineRaster raster(400, 100);
        for (const layout::ShapeRecordBody &l : c.lines)
            raster.draw(l);
        // Dashes of 14 units and gaps of 8.
        int inked = 0, changes = 0;
        bool previous = false;
        for (int x = 20; x < 380; ++x) {
            const bool ink = raster.pixelAt(x, 50) != Transparent;
            inked += ink;
            changes += x > 20 && ink != previous;
            previous = ink;
        }
        EXPECT_NEAR(inked, 360 * 14 / 22, 20);
        EXPECT_GE(changes, 2 * 15);
        const layout::ShapeRecordBody &first = c.lines.front();
        EXPECT_NE(raster.pixelAt(first.dx < 0 ? first.x - 1 : first.x, 50), Transparent) << "a dash starts the line";
    }
}

TEST(LineRaster, LeavesOutLinesOffThePage)
{
    LineRaster raster(100, 100);
    raster.draw(line(150, 10, 50, 50));
    raster.draw(line(-20, -20, -30, 90));
    EXPECT_FALSE(raster.inked());
    EXPECT_FALSE(raster.encodePng().empty());
}

TEST(LineRaster, UsesFewerPixelsOnHugePagesAndStillDrawsTheirLines)
{
    struct Case {
        int32_t width, height;
    } cases[] = {{2051, 2903}, {5462, 5462}, {1, 3000000}, {2000000000, 2000000000}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        LineRaster raster(c.width, c.height);
        EXPECT_LE(int64_t(raster.pixelWidth()) * raster.pixelHeight(), LineRaster::MaxPixels);
        if (int64_t(c.width) * c.height <= LineRaster::MaxPixels) {
            EXPECT_EQ(raster.pixelWidth(), c.width);
        }
        // A diagonal across the whole page reaches its far corner.
        raster.draw(line(0, 0, c.width, c.height, 3));
        EXPECT_NE(raster.pixelAt(raster.pixelWidth() - 1, raster.pixelHeight() - 1), Transparent);
    }
}

} // namespace
} // namespace quarnel::testing
