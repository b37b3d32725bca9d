#include "layout/page_layout.h"

#include "layout/page_fixture.h"
#include "settings/setting_keys.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>

namespace quarnel::layout {
namespace {

using testing::PageFixture;
using testing::zoomFactorFor;
namespace keys = settings::keys;

RecordType typeAt(const LayoutPage &page, size_t slot)
{
    return (*page.records)[slot].type;
}

template <class Body> const Body &bodyAt(const LayoutPage &page, size_t slot)
{
    return std::get<Body>((*page.records)[slot].body);
}

TEST(PageLayout, PageSizeFollowsZoomAndTextBoxMode)
{
    struct Case {
        int zoom;
        bool textBoxes;
        int32_t width, height;
    };
    const Case cases[] = {
        {100, false, 2051, 3483}, {100, true, 2051, 2903},  {50, false, 1025, 1741},
        {50, true, 1025, 1451},   {200, false, 4103, 6967}, {200, true, 4103, 5806},
    };
    for (const Case &c : cases) {
        ::quarnel::testing::SettingsSandbox sandbox;
        settings::write(keys::UseTextBox, c.textBoxes ? 1 : 0);
        PageFixture fixture(595, 842);
        LayoutPage page;
        buildPageLayout(page, fixture.get(), zoomFactorFor(c.zoom));
        EXPECT_EQ(page.width, c.width) << "zoom " << c.zoom << " text boxes " << c.textBoxes;
        EXPECT_EQ(page.height, c.height) << "zoom " << c.zoom << " text boxes " << c.textBoxes;
        EXPECT_EQ(page.resolution, 300);
    }
}

TEST(PageLayout, EmptyBlankAndMissingPages)
{
    ::quarnel::testing::SettingsSandbox sandbox;
    {
        PageFixture empty;
        LayoutPage page;
        buildPageLayout(page, empty.get(), zoomFactorFor(100));
        ASSERT_TRUE(page.records.has_value()); // a laid-out page always has its (empty) slot array
        EXPECT_EQ(page.recordCount(), 0);
    }
    {
        PageFixture blank; // a captured blank page: just the whole-page clip region
        blank.region();
        LayoutPage page;
        buildPageLayout(page, blank.get(), zoomFactorFor(100));
        ASSERT_EQ(page.recordCount(), 1);
        EXPECT_EQ(typeAt(page, 0), RecordType::Empty);
        EXPECT_TRUE(std::holds_alternative<std::monostate>((*page.records)[0].body));
    }
    {
        LayoutPage page;
        buildPageLayout(page, nullptr, zoomFactorFor(100));
        EXPECT_EQ(page.width, 2480);
        EXPECT_EQ(page.height, 3508);
        EXPECT_FALSE(page.records.has_value());
    }
}

// Elements of every kind interleaved: the records come out pictures, lines, text, then empty
// slots, one slot per element.
PageFixture &mixedPage(PageFixture &fixture)
{
    fixture.region();
    fixture.image(10, 10, 5, 5);
    fixture.word(100, 300, u"Hi");
    fixture.line(10, 10, 50, 10);
    fixture.image(20, 10, 5, 5);
    fixture.polygon();
    fixture.line(10, 20, 50, 20);
    fixture.image(30, 10, 5, 5);
    fixture.word(100, 400, u"Yo");
    return fixture;
}

TEST(PageLayout, RecordsArePicturesThenLinesThenTextThenEmptySlots)
{
    ::quarnel::testing::SettingsSandbox sandbox;
    PageFixture fixture;
    LayoutPage page;
    buildPageLayout(page, mixedPage(fixture).get(), 1.0f);

    ASSERT_EQ(page.recordCount(), 11);
    const RecordType expected[] = {RecordType::Picture, RecordType::Picture, RecordType::Picture, RecordType::Line,
                                   RecordType::Line,    RecordType::Text,    RecordType::Text,    RecordType::Empty,
                                   RecordType::Empty,   RecordType::Empty,   RecordType::Empty};
    for (size_t slot = 0; slot < std::size(expected); ++slot)
        EXPECT_EQ(typeAt(page, slot), expected[slot]) << "slot " << slot;
    EXPECT_EQ(bodyAt<PictureRecordBody>(page, 0).x, 10); // element order within a kind
    EXPECT_EQ(bodyAt<PictureRecordBody>(page, 2).x, 30);
    EXPECT_EQ(bodyAt<ShapeRecordBody>(page, 4).y, 20);
    EXPECT_EQ(bodyAt<TextRecordBody>(page, 5).text, "Hi");
}

TEST(PageLayout, DeleteSettingsDropPicturesOrLines)
{
    using enum RecordType;
    struct Case {
        bool deletePictures, deleteGraphics;
        std::array<RecordType, 6> front;
    };
    const Case cases[] = {
        {true, false, {Line, Line, Text, Text, Empty, Empty}},
        {false, true, {Picture, Picture, Picture, Text, Text, Empty}},
        {true, true, {Text, Text, Empty, Empty, Empty, Empty}},
    };
    for (const Case &c : cases) {
        ::quarnel::testing::SettingsSandbox sandbox;
        settings::write(keys::DeletePictures, c.deletePictures);
        settings::write(keys::DeleteGraphics, c.deleteGraphics);
        PageFixture fixture;
        LayoutPage page;
        buildPageLayout(page, mixedPage(fixture).get(), 1.0f);
        ASSERT_EQ(page.recordCount(), 11);
        for (size_t slot = 0; slot < c.front.size(); ++slot)
            EXPECT_EQ(typeAt(page, slot), c.front[slot]) << "slot " << slot << " pictures deleted " << c.deletePictures
                                                         << " graphics deleted " << c.deleteGraphics;
    }
}

TEST(PageLayout, LinesAreKeptOnlyInsideThePage)
{
    struct Case {
        int32_t x1, y1, x2, y2;
        bool kept;
    };
    const Case cases[] = {
        {10, 10, 50, 50, true},   {0, 10, 50, 50, false},   {10, 0, 50, 50, false},   {100, 10, 50, 50, false},
        {10, 200, 50, 50, false}, {10, 10, 100, 50, false}, {10, 10, 50, 200, false}, {10, 10, 99, 199, true},
        {10, 10, 5, 5, true},     {10, 10, -40, -3, true},  {99, 199, 1, 1, true},
    };
    for (const Case &c : cases) {
        ::quarnel::testing::SettingsSandbox sandbox;
        PageFixture fixture(100, 200);
        fixture.line(c.x1, c.y1, c.x2, c.y2, 2, 0x123456, 1);
        LayoutPage page;
        buildPageLayout(page, fixture.get(), 1.0f);
        ASSERT_EQ(page.recordCount(), 1);
        EXPECT_EQ(typeAt(page, 0), c.kept ? RecordType::Line : RecordType::Empty)
            << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
        if (c.kept) {
            const auto &line = bodyAt<ShapeRecordBody>(page, 0);
            EXPECT_EQ(line.dx, c.x2 - c.x1);
            EXPECT_EQ(line.dy, c.y2 - c.y1);
            EXPECT_EQ(line.color, 0x123456);
            EXPECT_EQ(line.penStyle, 1);
        }
    }
}

TEST(PageLayout, ZoomScalesEveryRecordCoordinate)
{
    struct Case {
        int zoom;
        int32_t at10, at20, at30, at40, pen2, minus5, minus7;
    };
    const Case cases[] = {{50, 17, 34, 51, 68, 3, -8, -12}, {200, 68, 137, 206, 275, 13, -34, -48}};
    for (const Case &c : cases) {
        ::quarnel::testing::SettingsSandbox sandbox;
        settings::write(keys::UseTextBox, 1);
        PageFixture fixture;
        fixture.image(10, 20, 30, 40);
        fixture.line(10, 20, 5, 13, 2);
        // A block of height 30 starts a third of it right of its first character and 1.5 times it
        // above the baseline, and is 10 wider than its advances: this one is (10, 20, 30, 30).
        fixture.text(0, 65, u"A", 30, 20);
        LayoutPage page;
        buildPageLayout(page, fixture.get(), zoomFactorFor(c.zoom));

        const auto &picture = bodyAt<PictureRecordBody>(page, 0);
        EXPECT_EQ((std::array{picture.x, picture.y, picture.width, picture.height}),
                  (std::array{c.at10, c.at20, c.at30, c.at40}));
        const auto &line = bodyAt<ShapeRecordBody>(page, 1);
        EXPECT_EQ((std::array{line.x, line.y, line.dx, line.dy, line.penWidth}),
                  (std::array{c.at10, c.at20, c.minus5, c.minus7, c.pen2}));
        const auto &text = bodyAt<TextRecordBody>(page, 2);
        EXPECT_EQ((std::array{text.x, text.y, text.width, text.height, text.textHeight}),
                  (std::array{c.at10, c.at20, c.at30, c.at30, c.at30}));
    }
}

TEST(PageLayout, PictureCarriesHeaderThenPixels)
{
    ::quarnel::testing::SettingsSandbox sandbox;
    PageFixture fixture;
    PageImage &image = fixture.image(1, 2, 3, 4, 2, 1);
    image.pixels[0] = 0xAB;
    image.pixels[7] = 0xCD;
    LayoutPage page;
    buildPageLayout(page, fixture.get(), 1.0f);

    const auto &picture = bodyAt<PictureRecordBody>(page, 0);
    EXPECT_EQ(picture.pictureKind, 3);
    ASSERT_EQ(picture.data.size(), 40u + 8u);
    EXPECT_EQ(std::memcmp(picture.data.data(), &image.header, 40), 0);
    EXPECT_EQ(picture.data[40], 0xAB);
    EXPECT_EQ(picture.data[47], 0xCD);
}

TEST(PageLayout, CorruptSizesSaturateInsteadOfOverflowing)
{
    ::quarnel::testing::SettingsSandbox sandbox;
    PageFixture fixture(INT_MAX, -5);
    fixture.image(INT_MIN, INT_MAX, INT_MAX, -1);
    fixture.line(5, -3, INT_MIN, INT_MIN, INT_MAX);
    fixture.text(INT_MAX, INT_MIN, u"A", INT_MAX, INT_MIN);
    fixture.text(INT_MIN, INT_MAX, u"B", INT_MIN, INT_MAX);
    LayoutPage page;
    buildPageLayout(page, fixture.get(), zoomFactorFor(200));
    EXPECT_EQ(page.width, INT_MAX);
    EXPECT_LT(page.height, 0);
    EXPECT_EQ(bodyAt<PictureRecordBody>(page, 0).x, INT_MIN);
    EXPECT_EQ(bodyAt<PictureRecordBody>(page, 0).width, INT_MAX);
    for (const LayoutRecord &record : *page.records) // the line starts above a page of negative height
        EXPECT_NE(record.type, RecordType::Line);
}

} // namespace
} // namespace quarnel::layout
