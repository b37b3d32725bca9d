// The page bitmap and the drawing primitives, drawn and recorded.
#include "capture/drawing_surface.h"
#include "capture/engine_state.h"
#include "page_model/page_object_builder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quarnel::capture {
namespace {

constexpr uint32_t white = 0x00FFFFFF;
constexpr uint32_t red = 0x000000FF;
constexpr uint32_t blue = 0x00FF0000;

class Surface : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(surface.createPageBitmap(100, 80, 24));
        surface.fillPage(white);
    }
    DrawingSurface surface;
};

TEST(DrawingSurfaceBitmap, PackedBitmapOfALetterPage)
{
    DrawingSurface surface;
    ASSERT_TRUE(surface.createPageBitmap(612, 792, 24));
    surface.fillPage(white);
    platform::GlobalBlockHandle block = surface.packedBitmap();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(platform::globalBlockSize(block), 40u + 1836u * 792u);
    BitmapInfoHeader header;
    std::memcpy(&header, platform::globalBlockData(block), sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 612);
    EXPECT_EQ(header.biHeight, 792);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biSizeImage, 1836u * 792u);
    EXPECT_EQ(header.biXPelsPerMeter, 3780);
    const auto *bits = static_cast<const uint8_t *>(platform::globalBlockData(block)) + 40;
    EXPECT_EQ(bits[0], 255);
    platform::freeGlobalBlock(block);
}

TEST(DrawingSurfaceBitmap, RowsAreBottomUpAndFormatsCarryTheirTables)
{
    DrawingSurface surface;
    ASSERT_TRUE(surface.createPageBitmap(3, 2, 24));
    surface.fillPage(white);
    surface.drawLine(0, 0, 1, 0, 1, red, 0); // top row, first pixel
    platform::GlobalBlockHandle block = surface.packedBitmap();
    ASSERT_NE(block, nullptr);
    const auto *bits = static_cast<const uint8_t *>(platform::globalBlockData(block)) + 40;
    // The top row is the last in memory: blue, green, red of pixel 0.
    EXPECT_EQ(bits[12 + 0], 0);
    EXPECT_EQ(bits[12 + 2], 255);
    EXPECT_EQ(bits[0], 255);
    platform::freeGlobalBlock(block);

    struct Case {
        int bitCount;
        size_t tableBytes;
        uint32_t compression;
    };
    for (const Case &c : {Case{32, 12, 3}, Case{16, 12, 3}, Case{8, 1024, 0}, Case{4, 64, 0}, Case{1, 8, 0}}) {
        DrawingSurface other;
        ASSERT_TRUE(other.createPageBitmap(10, 10, c.bitCount)) << c.bitCount;
        block = other.packedBitmap();
        ASSERT_NE(block, nullptr);
        BitmapInfoHeader header;
        std::memcpy(&header, platform::globalBlockData(block), sizeof header);
        EXPECT_EQ(header.biCompression, c.compression) << c.bitCount;
        EXPECT_EQ(platform::globalBlockSize(block), 40 + c.tableBytes + header.biSizeImage) << c.bitCount;
        platform::freeGlobalBlock(block);
    }
}

TEST(DrawingSurfaceBitmap, UnsupportedFormatsAndSizesFail)
{
    DrawingSurface surface;
    for (int bits : {0, 2, 12, 48})
        EXPECT_FALSE(surface.createPageBitmap(10, 10, bits)) << bits;
    EXPECT_FALSE(surface.createPageBitmap(0, 10, 24));
    EXPECT_FALSE(surface.createPageBitmap(10, -1, 24));
    EXPECT_FALSE(surface.createPageBitmap(100000, 100000, 24));
    EXPECT_FALSE(surface.hasBitmap());
    EXPECT_EQ(surface.packedBitmap(), nullptr);
}

TEST_F(Surface, LinesAndPolygonsDrawWithinTheClip)
{
    surface.drawLine(10, 10, 50, 10, 1, red, 0);
    EXPECT_EQ(surface.pixel(10, 10), red);
    EXPECT_EQ(surface.pixel(30, 10), red);
    EXPECT_EQ(surface.pixel(30, 11), white);

    const PagePoint outer[] = {{20, 20}, {60, 20}, {60, 60}, {20, 60}, {20, 20},
                               {30, 30}, {50, 30}, {50, 50}, {30, 50}, {30, 30}};
    surface.fillPolygon(outer, 10, 1, blue); // even-odd: the inner square stays empty
    EXPECT_EQ(surface.pixel(25, 25), blue);
    EXPECT_EQ(surface.pixel(40, 40), white);
    EXPECT_EQ(surface.pixel(60, 60), white); // right and bottom edges are outside

    const std::vector<uint8_t> clip = rectangleRegionData(0, 0, 50, 80);
    surface.setDrawingClip(&clip);
    surface.drawLine(0, 70, 99, 70, 3, red, 0);
    surface.setDrawingClip(nullptr);
    EXPECT_EQ(surface.pixel(40, 70), red);
    EXPECT_EQ(surface.pixel(60, 70), white);

    surface.fillPolygon(nullptr, 3, 2, red);
    surface.fillPolygon(outer, 0, 2, red);
    EXPECT_EQ(surface.pixel(25, 25), blue);
}

TEST_F(Surface, ExactWhiteImagePixelsAreTransparent)
{
    surface.fillPolygon(std::vector<PagePoint>{{0, 0}, {100, 0}, {100, 80}, {0, 80}}.data(), 4, 2, blue);
    // A 2 x 1 image, bottom-up 32-bit rows: white, then (255, 255, 250).
    const uint8_t pixels[] = {255, 255, 255, 0, 250, 255, 255, 0};
    surface.putImage(32, 0, 2, 1, pixels, 10, 10, 20, 10);
    EXPECT_EQ(surface.pixel(12, 12), blue);        // white left the page as it was
    EXPECT_EQ(surface.pixel(25, 12), 0x00FAFFFFu); // the near-white pixel covers it
    EXPECT_EQ(surface.pixel(35, 12), blue);        // outside the destination

    surface.putImage(32, 0, 2, 1, pixels, 90, 70, 1000000, 1000000); // clipped to the page
    EXPECT_EQ(surface.pixel(99, 79), blue);
    surface.putImage(32, 0, 2, 1, nullptr, 0, 0, 10, 10);
}

TEST_F(Surface, TextIsDrawnInTheFillColour)
{
    TextRun run;
    run.x = 10;
    run.y = 60;
    run.text = u"W";
    run.height = 40;
    run.advance = 30;
    run.fillColor = red;
    ASSERT_TRUE(surface.drawText(run));
    int inked = 0;
    for (int y = 20; y < 62; ++y)
        for (int x = 10; x < 50; ++x)
            inked += surface.pixel(x, y) != white;
    EXPECT_GT(inked, 50);
    EXPECT_EQ(surface.pixel(80, 30), white);
}

class Recording : public ::testing::Test {
protected:
    void SetUp() override { engineState().currentPageObject = page; }
    void TearDown() override
    {
        engineState().currentPageObject = nullptr;
        page_model::destroyPageObject(page);
    }
    PageObject *page = page_model::createPageObject();
    DrawingSurface surface;
};

TEST_F(Recording, PrimitivesAppendElementsInsteadOfDrawing)
{
    ASSERT_TRUE(surface.createPageBitmap(100, 80, 24));
    surface.fillPage(white);
    surface.drawLine(1, 2, 3, 4, 5, red, 1);
    const PagePoint points[] = {{0, 0}, {10, 0}, {10, 10}};
    surface.fillPolygon(points, 3, 2, blue);
    surface.fillPolygon(points, 0, 2, blue); // nothing
    const uint8_t pixels[8] = {1, 2, 3, 0, 4, 5, 6, 0};
    surface.putImage(32, 0, 2, 1, pixels, 5, 6, 7, 8);
    surface.putImage(32, 0, 2, 1, pixels, 5, 6, 0, 8); // no destination: nothing
    const std::vector<uint8_t> region = rectangleRegionData(0, 0, 100, 80);
    surface.setClipRegion(&region);
    surface.setClipRegion(nullptr);
    EXPECT_EQ(surface.pixel(2, 3), white);

    ASSERT_EQ(page->elementCount, 5);
    const auto *line = static_cast<const PageLine *>(page->elements[0]->body);
    EXPECT_EQ(page->elements[0]->kind, ElementLine);
    EXPECT_EQ(line->x2, 3);
    EXPECT_EQ(line->width, 5);
    EXPECT_EQ(line->style, 1);
    const auto *polygon = static_cast<const PagePolygon *>(page->elements[1]->body);
    EXPECT_EQ(polygon->pointCount, 3);
    EXPECT_EQ(polygon->fillRule, 2);
    const auto *image = static_cast<const PageImage *>(page->elements[2]->body);
    EXPECT_EQ(image->header.biWidth, 2);
    EXPECT_EQ(image->header.biBitCount, 32);
    EXPECT_EQ(image->destWidth, 7);
    EXPECT_EQ(image->pixelBytes, 8);
    EXPECT_EQ(image->pixels[4], 4);
    EXPECT_EQ(page->elements[3]->kind, ElementRegion);
    EXPECT_EQ(static_cast<const PageRegion *>(page->elements[3]->body)->regionSize, 48);
    EXPECT_EQ(page->elements[4]->kind, ElementRegion);
    EXPECT_EQ(page->elements[4]->body, nullptr);
}

TEST_F(Recording, TextKeepsItsFullFaceNameAndAppliesTheVerticalRules)
{
    TextRun run;
    run.x = 10;
    run.y = 20;
    run.text = u"\u3002";
    run.faceName = std::string(40, 'Q');
    run.height = 16;
    run.vertical = true;
    run.bold = 262144;
    run.italic = 64;
    ASSERT_TRUE(surface.drawText(run));
    ASSERT_EQ(page->elementCount, 1);
    const auto *text = static_cast<const PageText *>(page->elements[0]->body);
    EXPECT_EQ(std::string(text->fontName), "@" + std::string(40, 'Q'));
    EXPECT_EQ(text->orientation, 2700);
    EXPECT_EQ(text->x, 12);
    EXPECT_EQ(text->y, 4);
    EXPECT_EQ(text->bold, 262144);
    EXPECT_EQ(text->italic, 64);
    EXPECT_EQ(text->count, 1);

    run.text.clear();
    EXPECT_FALSE(surface.drawText(run));
    EXPECT_EQ(page->elementCount, 1);
}

} // namespace
} // namespace quarnel::capture
