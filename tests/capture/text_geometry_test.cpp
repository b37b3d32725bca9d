// The arithmetic of recorded characters.
#include "capture/text_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quarnel::capture {
namespace {

TEST(TextGeometry, AngleHeightAndSlantOfFontMatrices)
{
    struct Case {
        FontMatrix m;
        double angle;
        int height;
        bool slanted;
    };
    const Case cases[] = {
        {{12, 0, 0, -12}, 0, 12, false},  // upright, y down
        {{0, -9, -9, 0}, 90, 9, false},   // turned 90 degrees counter-clockwise
        {{12, 0, 2.4, -12}, 0, 12, true}, // sheared by 0.2
        {{0, 0, 0, 0}, 0, 1, false},      // degenerate: the vertical length is taken as 1
        {{1e-7, 0, 0, 1e-7}, 0, 1, false},
        {{0.5, 0, 0, -0.5}, 0, 0, false}, // half a pixel truncates to 0
        {{1e12, 0, 0, -1e12}, 0, std::numeric_limits<int32_t>::max(), false},
    };
    for (const Case &c : cases) {
        EXPECT_NEAR(textAngleDegrees(c.m), c.angle, 1e-6) << c.m.m11 << " " << c.m.m21;
        EXPECT_EQ(fontHeightPixels(c.m), c.height) << c.m.m11 << " " << c.m.m21;
        EXPECT_EQ(isSlanted(c.m), c.slanted) << c.m.m11 << " " << c.m.m21;
    }
    EXPECT_FALSE(isSlanted({NAN, NAN, NAN, NAN}));
    EXPECT_EQ(fontHeightPixels({0, 0, NAN, NAN}), 0);
}

TEST(TextGeometry, OrientationWrapsAndAddsTheEscapementOfVerticalFaces)
{
    EXPECT_EQ(orientationTenths(roundedAngle(89.6), "Arial"), 900);
    EXPECT_EQ(orientationTenths(roundedAngle(-90.0), "Arial"), 2700); // text set at 270 degrees
    EXPECT_EQ(orientationTenths(roundedAngle(-89.5), "Arial"), 2710);
    EXPECT_EQ(orientationTenths(roundedAngle(-0.4), "Arial"), 0);
    EXPECT_EQ(orientationTenths(90, "@SimSun"), 0); // 900 + 2700 wraps
    EXPECT_EQ(orientationTenths(0, "@"), 0);        // too short to be a vertical face
    EXPECT_EQ(orientationTenths(180, "@X"), 900);
}

TEST(TextGeometry, VerticalPunctuationMovesByQuadrant)
{
    struct Case {
        int angle;
        int x, y;
    };
    // From (100, 200) with advance 16 and height 16. sin and cos of multiples of 90 degrees are
    // not exactly 0, and truncation then takes a whole pixel: 200 - 1e-15 gives 199.
    const Case cases[] = {
        {0, 102, 186},   // x - 0, y - 16; then (+H/8, +A/8)
        {90, 86, 197},   // x - 16, y - ~0; then (+H/8, -A/8)
        {180, 97, 218},  // x - ~0, y + 16; then (-H/8, +A/8)
        {-90, 114, 201}, // 270: x + 16, y - ~0; then (-H/8, +A/8)
    };
    for (const Case &c : cases) {
        int32_t x = 100, y = 200;
        moveVerticalPunctuation(x, y, 16, 16, c.angle);
        EXPECT_EQ(x, c.x) << c.angle;
        EXPECT_EQ(y, c.y) << c.angle;
    }
    EXPECT_TRUE(isVerticalPunctuation(0x3002));
    EXPECT_TRUE(isVerticalPunctuation(0x30FC));
    EXPECT_TRUE(isVerticalPunctuation(0xFF0C));
    EXPECT_FALSE(isVerticalPunctuation(0x4E00));
    EXPECT_FALSE(isVerticalPunctuation(0x3010));
}

TEST(TextGeometry, UnicodeConversions)
{
    const unsigned int text[] = {0x41, 0x1F600, 0xD800, 0x110000, 0xE9};
    EXPECT_EQ(toUtf16(text, 5), u"A\U0001F600\u00E9");
    EXPECT_EQ(toUtf16(nullptr, 3), u"");
    EXPECT_EQ(expandFiLigature(u"\uFB01"), u"fi");
    EXPECT_EQ(expandFiLigature(u"a\uFB01"), u"a\uFB01");
    EXPECT_EQ(utf16ToUtf8(u"A\U0001F600\u00E9"), "A\xF0\x9F\x98\x80\xC3\xA9");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(TextGeometry, ColoursTruncateEachComponent)
{
    EXPECT_EQ(colorRef(1, 0, 0), 0x0000FFu);
    EXPECT_EQ(colorRef(0.5, 0.5, 0.5), 0x7F7F7Fu);
    EXPECT_EQ(colorRef(0, 0, 1), 0xFF0000u);
    EXPECT_EQ(colorRef(2, -1, NAN), 0x0000FFu);
}

} // namespace
} // namespace quarnel::capture
