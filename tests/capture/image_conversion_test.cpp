// Placement, orientation and pixel conversion of captured images, on numbers alone.
#include "capture/image_pixels.h"
#include "capture/image_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace quarnel::capture {
namespace {

constexpr PageSize Page{612, 792};
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(ImagePlacement, RectangleOfTheRoundedCornersClippedToThePage)
{
    struct Case {
        const char *what;
        ImageMatrix m;
        ImageRect dest;
        bool visible;
    };
    const Case cases[] = {
        {"both far edges included", {100, 0, 0, -50, 10, 60}, {10, 10, 101, 51}, true},
        {"half outside the right edge", {200, 0, 0, -10, 512, 30}, {512, 20, 100, 11}, true},
        {"left part cut off", {100, 0, 0, -10, -40, 30}, {0, 20, 61, 11}, true},
        {"far edge on the page edge", {12, 0, 0, -10, 600, 30}, {600, 20, 12, 11}, true},
        {"turned a quarter", {0, -30, 20, 0, 100, 200}, {100, 170, 21, 31}, true},
        {"wholly left of the page", {50, 0, 0, -50, -100, 60}, {0, 10, -49, 51}, false},
        {"wholly below the page", {50, 0, 0, -50, 10, 900}, {10, 792, 51, -1}, false},
        {"infinite values stay bounded", {Inf, 0, 0, -Inf, 5, 700}, {5, 0, 607, 701}, true},
        {"NaN counts as 0", {NAN, 0, 0, -10, 5, 20}, {0, 10, 6, 11}, true},
    };
    for (const Case &c : cases) {
        const ImagePlacement p = placeImage(c.m, Page);
        EXPECT_EQ(p.visible, c.visible) << c.what;
        if (c.visible) {
            EXPECT_EQ(p.dest, c.dest) << c.what;
        }
    }
}

TEST(ImagePlacement, OrientationFollowsTheMatrix)
{
    struct Case {
        ImageMatrix m;
        ImageOrientation o; // flip, topDown, turn
    };
    const Case cases[] = {
        {{10, 0, 0, -10, 0, 0}, {false, false, false}}, // upright: first row at the top
        {{10, 0, 0, 10, 0, 0}, {false, true, false}},   // upside down
        {{-10, 0, 0, -10, 0, 0}, {true, false, false}}, // mirrored
        {{0, -10, 10, 0, 0, 0}, {false, true, true}},   // turned a quarter counter-clockwise
        {{0, 10, -10, 0, 0, 0}, {true, false, true}},   // turned a quarter clockwise
    };
    for (const Case &c : cases)
        EXPECT_EQ(placeImage(c.m, Page).orientation, c.o) << c.m[0] << " " << c.m[1] << " " << c.m[2];
}

TEST(ImagePlacement, MaskRectangleFromScaleAndShear)
{
    struct Case {
        const char *what;
        ImageMatrix m;
        ImageRect dest;
        bool visible;
        bool singular;
    };
    const Case cases[] = {
        {"upright: far edges not included", {100, 0, 0, -50, 10, 60}, {10, 10, 100, 50}, true, false},
        {"turned", {0, -30, 20, 0, 100, 200}, {101, 171, 20, 30}, true, false},
        {"half outside the right edge", {200, 0, 0, -10, 512, 30}, {512, 20, 100, 10}, true, false},
        {"wholly left of the page", {50, 0, 0, -50, -100, 60}, {}, false, false},
        {"singular", {1e-4, 0, 0, 1e-4, 10, 10}, {}, false, true},
        {"all zero", {0, 0, 0, 0, 10, 10}, {}, false, true},
        {"NaN", {NAN, 0, 0, 1, 10, 10}, {}, false, true},
        {"larger than the page", {1e5, 0, 0, -1e5, 10, 1e5}, {10, 0, 602, 792}, true, false},
    };
    for (const Case &c : cases) {
        const MaskPlacement p = placeImageMask(c.m, Page);
        EXPECT_EQ(p.singular, c.singular) << c.what;
        EXPECT_EQ(p.visible, c.visible) << c.what;
        if (c.visible) {
            EXPECT_EQ(p.dest, c.dest) << c.what;
        }
    }
}

TEST(ImagePixels, ComponentsAndStoredColours)
{
    EXPECT_EQ(imageComponent(1.0), 255);
    EXPECT_EQ(imageComponent(0.5), 128); // trunc(32767.5 + 0.5) >> 8
    EXPECT_EQ(imageComponent(0.0), 0);
    EXPECT_EQ(imageComponent(-3), 0);
    EXPECT_EQ(imageComponent(NAN), 0);

    uint8_t px[4];
    storeImagePixel(px, 255, 255, 255);
    EXPECT_EQ(std::vector<uint8_t>(px, px + 4), (std::vector<uint8_t>{250, 255, 255, 0})); // blue 250
    storeImagePixel(px, 10, 20, 30);
    EXPECT_EQ(std::vector<uint8_t>(px, px + 4), (std::vector<uint8_t>{30, 20, 10, 0}));
    storeMaskedPixel(px);
    EXPECT_EQ(std::vector<uint8_t>(px, px + 4), (std::vector<uint8_t>{255, 255, 250, 0})); // red 250

    const int ranges[] = {10, 20, 0, 0};
    const uint8_t inside[] = {15, 0}, outside[] = {15, 1};
    EXPECT_TRUE(insideColorKey(inside, 2, ranges));
    EXPECT_FALSE(insideColorKey(outside, 2, ranges));
    EXPECT_EQ(maskPaintColor(0x00FFFFFF), 0x00F0FFFFu);
    EXPECT_EQ(maskPaintColor(0x00000080), 0x00000080u);
}

// The first byte (blue) of each pixel of a buffer, memory row by memory row.
std::vector<std::vector<int>> blues(ImagePixels &pixels)
{
    std::vector<std::vector<int>> rows;
    for (int32_t y = 0; y < pixels.height(); ++y) {
        rows.emplace_back();
        for (int32_t x = 0; x < pixels.width(); ++x)
            rows.back().push_back(pixels.row(y)[x * 4]);
    }
    return rows;
}

TEST(ImagePixels, FlipAndQuarterTurn)
{
    ImagePixels pixels(3, 2); // memory rows {1 2 3} {4 5 6}
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            pixels.row(y)[x * 4] = static_cast<uint8_t>(y * 3 + x + 1);
    EXPECT_EQ(pixels.rowFor(0, true), 0);
    EXPECT_EQ(pixels.rowFor(0, false), 1);

    pixels.orient({true, false, false});
    EXPECT_EQ(blues(pixels), (std::vector<std::vector<int>>{{3, 2, 1}, {6, 5, 4}}));

    // Column x of memory row y goes to column height - 1 - y of memory row x.
    pixels.orient({false, false, true});
    ASSERT_EQ(pixels.width(), 2);
    ASSERT_EQ(pixels.height(), 3);
    EXPECT_EQ(blues(pixels), (std::vector<std::vector<int>>{{6, 3}, {5, 2}, {4, 1}}));
}

TEST(ImagePixels, MaskRowsPaintTheirSetSamples)
{
    const uint8_t samples[] = {0, 1};
    uint8_t out[8];
    expandMaskRow(samples, 2, false, 0x00332211, out); // a 0 sample paints
    EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{0x33, 0x22, 0x11, 0, 255, 255, 255, 0}));
    expandMaskRow(samples, 2, true, 0x00332211, out); // inverted: a 1 sample paints
    EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{255, 255, 255, 0, 0x33, 0x22, 0x11, 0}));
}

} // namespace
} // namespace quarnel::capture
