// Strokes, fills, clips, link borders and shadings as the capture device records them, from
// hand-made PDFs through PDF_GetPageObject.
#include "capture/engine_state.h"
#include "engine_api/pdf_handle.h"
#include "platform/region.h"
#include "support/engine_fixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quarnel::testing {
namespace {

struct Line {
    int x1, y1, x2, y2, width;
    uint32_t color;
    int style;
    bool operator==(const Line &) const = default;
};

struct Polygon {
    std::vector<std::pair<int, int>> points;
    int rule;
    uint32_t color;
};

struct Captured {
    std::vector<int> kinds;
    std::vector<Line> lines;
    std::vector<Polygon> polygons;
    std::vector<std::vector<platform::RegionRect>> regions;
};

Captured captureBytes(const std::string &pdfBytes)
{
    PageObjectPtr page = captureFirstPage(pdfBytes);
    EXPECT_NE(page, nullptr);
    Captured out;
    if (!page)
        return out;
    for (int i = 0; i < page->elementCount; ++i) {
        const PageElement &e = *page->elements[i];
        out.kinds.push_back(e.kind);
        if (e.kind == ElementLine) {
            const auto *l = static_cast<const PageLine *>(e.body);
            out.lines.push_back({l->x1, l->y1, l->x2, l->y2, l->width, l->color, l->style});
        } else if (e.kind == ElementPolygon) {
            const auto *p = static_cast<const PagePolygon *>(e.body);
            Polygon &polygon = out.polygons.emplace_back(Polygon{{}, p->fillRule, p->color});
            for (int k = 0; k < p->pointCount; ++k)
                polygon.points.emplace_back(p->points[k].x, p->points[k].y);
        } else if (e.kind == ElementRegion && e.body) {
            const auto *r = static_cast<const PageRegion *>(e.body);
            out.regions.push_back(
                platform::rectanglesFromRegionData({r->regionData, static_cast<size_t>(r->regionSize)}).value());
        }
    }
    return out;
}

Captured capture(const std::string &content, const std::string &resources = "<< >>")
{
    PdfWriter pdf;
    pdf.addPage(content, resources);
    return captureBytes(pdf.finish());
}

constexpr uint32_t Red = 0x000000FF, Blue = 0x00FF0000;

TEST(PathCapture, RectangleFillIsOnePolygonWithItsOutline)
{
    const Captured c = capture("1 0 0 rg 100 100 200 50 re f");
    ASSERT_EQ(c.polygons.size(), 1u);
    EXPECT_EQ(c.polygons[0].rule, 2);
    EXPECT_EQ(c.polygons[0].color, Red);
    EXPECT_EQ(c.polygons[0].points,
              (std::vector<std::pair<int, int>>{{100, 692}, {300, 692}, {300, 642}, {100, 642}, {100, 692}}));
    EXPECT_EQ(c.lines, (std::vector<Line>{{100, 692, 300, 692, 1, Red, 0},
                                          {300, 692, 300, 642, 1, Red, 0},
                                          {300, 642, 100, 642, 1, Red, 0},
                                          {100, 642, 100, 692, 1, Red, 0}}));
}

TEST(PathCapture, SquareWithHoleFilledEvenOddIsOnePolygonWithoutOutline)
{
    const Captured c = capture("0 0 1 rg 100 100 200 200 re 150 150 100 100 re f*");
    ASSERT_EQ(c.polygons.size(), 1u);
    EXPECT_EQ(c.polygons[0].points.size(), 11u); // 5 + separator + 5
    EXPECT_EQ(c.polygons[0].rule, 1);
    EXPECT_EQ(c.polygons[0].color, Blue);
    EXPECT_EQ(c.polygons[0].points[5], c.polygons[0].points[0]);
    EXPECT_TRUE(c.lines.empty());
}

TEST(PathCapture, StrokesGiveOneLinePerSegment)
{
    struct Case {
        const char *content;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"[3 2] 0 d 10 782 m 100 782 l S", {{10, 10, 100, 10, 1, 0, 1}}},        // dashed
        {"0.3 w 10 782 m 100 782 l S", {{10, 10, 100, 10, 1, 0, 0}}},            // thinner than a pixel
        {"2.6 w 1 0 0 RG 10 782 m 100 782 l S", {{10, 10, 100, 10, 3, Red, 0}}}, // rounded width, stroke colour
        {"-5000 100 m 100 100 l S", {{-612, 692, 100, 692, 1, 0, 0}}},           // clamped to the page's reach
        {"10 782 m S", {}},                                                      // a single point
        {"10 782 m 20 782 l 20 772 l h S",
         {{10, 10, 20, 10, 1, 0, 0}, {20, 10, 20, 20, 1, 0, 0}, {20, 20, 10, 10, 1, 0, 0}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(capture(c.content).lines, c.lines) << c.content;
}

TEST(PathCapture, CurvesAreFlattenedIntoManySegments)
{
    const Captured c = capture("100 100 m 100 400 400 400 400 100 c S");
    ASSERT_GT(c.lines.size(), 4u);
    EXPECT_EQ(c.lines.front().x1, 100);
    EXPECT_EQ(c.lines.back().x2, 400);
    EXPECT_EQ(c.lines.back().y2, 692);
}

TEST(PathCapture, ClipsAreIntersectedAndRestored)
{
    // Page start, then poppler's own save around the content: a blank page has three regions.
    EXPECT_EQ(capture("").regions.size(), 3u);

    const platform::RegionRect page{0, 0, 612, 792};
    const Captured c = capture("q 100 100 200 300 re W n 50 50 100 100 re W n Q 0 0 612 792 re W n");
    using Rects = std::vector<platform::RegionRect>;
    ASSERT_EQ(c.regions.size(), 8u);
    EXPECT_EQ(c.regions[0], Rects{page});                   // page start
    EXPECT_EQ(c.regions[2], Rects{page});                   // q
    EXPECT_EQ(c.regions[3], (Rects{{100, 392, 300, 692}})); // first clip
    EXPECT_EQ(c.regions[4], (Rects{{100, 642, 150, 692}})); // intersected with the second
    EXPECT_EQ(c.regions[5], Rects{page});                   // Q
    EXPECT_EQ(c.regions[6], Rects{page});                   // a page-sized clip is one exact rectangle
}

TEST(PathCapture, EvenOddClipLeavesTheHoleOut)
{
    const Captured c = capture("100 100 200 200 re 150 150 100 100 re W* n");
    ASSERT_EQ(c.regions.size(), 4u); // page, save, clip, restore
    const std::vector<platform::RegionRect> &clip = c.regions[2];
    auto covers = [&](int x, int y) {
        for (const platform::RegionRect &r : clip)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                return true;
        return false;
    };
    EXPECT_TRUE(covers(120, 600));
    EXPECT_FALSE(covers(200, 592)); // inside the hole
    EXPECT_FALSE(covers(50, 600));
}

TEST(PathCapture, ClipRegionClipsWhatIsDrawnWithoutCaptureTarget)
{
    TempDir dir;
    PdfWriter writer;
    writer.addPage("q 0 0 306 792 re W n 0 0 0 rg 0 0 612 792 re f Q");
    PdfPtr pdf = openPdf(writePdf(dir, "d.pdf", writer.finish()));
    ASSERT_NE(pdf, nullptr);
    capture::engineState().currentPageObject = nullptr;
    pdf->doc->displayPage(pdf->device.get(), 1, 72, 72, 0, false, true, false);
    const capture::DrawingSurface &surface = capture::engineState().surface;
    EXPECT_EQ(surface.pixel(100, 400), 0u);
    EXPECT_EQ(surface.pixel(500, 400), 0x00FFFFFFu);
}

TEST(PathCapture, LinksWithABorderGetFourBlueLines)
{
    PdfWriter pdf;
    const int bordered = pdf.add("<< /Type /Annot /Subtype /Link /Rect [100 700 200 720] /Border [0 0 1] "
                                 "/A << /S /URI /URI (http://example.com) >> >>");
    const int thick = pdf.add("<< /Type /Annot /Subtype /Link /Rect [300 700 400 720] /Border [0 0 2.6] >>");
    const int none = pdf.add("<< /Type /Annot /Subtype /Link /Rect [10 10 20 20] /Border [0 0 0] >>");
    pdf.addPage("0 0 1 rg 10 10 5 5 re f", "<< >>", 612, 792,
                "/Annots [" + ref(bordered) + " " + ref(thick) + " " + ref(none) + "]");
    const Captured c = captureBytes(pdf.finish());
    ASSERT_EQ(c.lines.size(), 12u); // four of the fill's outline, four per bordered link
    const std::vector<Line> links(c.lines.begin() + 4, c.lines.end());
    EXPECT_EQ(links, (std::vector<Line>{{100, 92, 200, 92, 1, Blue, 0},
                                        {200, 92, 200, 72, 1, Blue, 0},
                                        {200, 72, 100, 72, 1, Blue, 0},
                                        {100, 72, 100, 92, 1, Blue, 0},
                                        {300, 92, 400, 92, 3, Blue, 0},
                                        {400, 92, 400, 72, 3, Blue, 0},
                                        {400, 72, 300, 72, 3, Blue, 0},
                                        {300, 72, 300, 92, 3, Blue, 0}}));
}

TEST(PathCapture, ShadingsArriveAsPathFills)
{
    const std::string axial = "<< /ShadingType 2 /ColorSpace /DeviceRGB /Coords [0 0 612 0] /Extend [true true] "
                              "/Function << /FunctionType 2 /Domain [0 1] /C0 [1 0 0] /C1 [0 0 1] /N 1 >> >>";
    struct Case {
        const char *what;
        std::string content, resources;
    };
    const Case cases[] = {
        {"sh operator", "q 0 0 612 792 re W n /Sh1 sh Q", "<< /Shading << /Sh1 " + axial + " >> >>"},
        {"shading pattern fill", "/Pattern cs /P1 scn 100 100 300 300 re f",
         "<< /Pattern << /P1 << /PatternType 2 /Shading " + axial + " >> >> >>"},
    };
    for (const Case &c : cases) {
        const Captured page = capture(c.content, c.resources);
        std::set<uint32_t> colors;
        for (const Polygon &p : page.polygons)
            colors.insert(p.color);
        EXPECT_GT(page.polygons.size(), 10u) << c.what;
        EXPECT_GT(colors.size(), 10u) << c.what;
    }
}

TEST(PathCapture, TilingPatternsAreDrawnTileByTileWithinABound)
{
    struct Case {
        const char *what;
        std::string step, cell;
        bool drawn;
    };
    const Case cases[] = {
        {"20-point cells", "20", "0 0 10 10 re f", true},
        {"cells of a tenth of a point over the page", "0.1", "0 0 .05 .05 re f", false}, // 48 million tiles
    };
    for (const Case &c : cases) {
        PdfWriter pdf;
        const int pattern = pdf.addStream("/PatternType 1 /PaintType 1 /TilingType 1 /BBox [0 0 " + c.step + " " +
                                              c.step + "] /XStep " + c.step + " /YStep " + c.step + " /Resources << >>",
                                          "0 1 0 rg " + c.cell);
        pdf.addPage("/Pattern cs /P1 scn 0 0 612 792 re f 1 0 0 rg 5 5 5 5 re f",
                    "<< /Pattern << /P1 " + ref(pattern) + " >> >>");
        const Captured page = captureBytes(pdf.finish());
        size_t green = 0;
        for (const Polygon &p : page.polygons)
            green += p.color == 0x0000FF00;
        if (c.drawn)
            EXPECT_GE(green, 31u * 40u) << c.what; // a polygon per tile over the page
        else
            EXPECT_EQ(green, 0u) << c.what;
        ASSERT_FALSE(page.polygons.empty()) << c.what;
        EXPECT_EQ(page.polygons.back().color, Red) << c.what; // what follows the pattern is still there
    }
}

TEST(PathCapture, SoftMaskContentIsNotDrawn)
{
    PdfWriter pdf;
    const int group = pdf.addStream("/Type /XObject /Subtype /Form /BBox [0 0 612 792] "
                                    "/Group << /S /Transparency /CS /DeviceGray >>",
                                    "0 0 0 rg 0 0 612 792 re f 1 1 1 rg 100 100 50 50 re f");
    pdf.addPage("/GS1 gs 1 0 0 rg 0 0 300 300 re f",
                "<< /ExtGState << /GS1 << /SMask << /S /Luminosity /G " + ref(group) + " >> >> >> >>");
    const Captured page = captureBytes(pdf.finish());
    ASSERT_EQ(page.polygons.size(), 1u);
    EXPECT_EQ(page.polygons[0].color, Red);
}

TEST(PathCapture, DegenerateAndHugeGeometryStaysOnTheGrid)
{
    const char *contents[] = {
        "0 0 0 0 0 0 cm 100 100 200 200 re f 10 10 m 20 20 l S",
        "1e30 0 0 1e30 0 0 cm 0 0 1 1 re f 0 0 m 1 1 l S",
        "99999999999 99999999999 m -99999999999 5 l 3 -99999999999 99999999999 -5 1 1 c h f",
        "100 100 m f 100 100 m S 10 10 m 10 10 l 10 10 l W n 0 0 1 1 re f",
        "1e-30 0 0 1e-30 0 0 cm 0 0 m 1e30 1e30 1e30 0 0 1e30 c S",
    };
    for (const char *content : contents) {
        const Captured c = capture(content);
        auto inReach = [](int x, int y) { return x >= -612 && x <= 1224 && y >= -792 && y <= 1584; };
        for (const Line &l : c.lines)
            EXPECT_TRUE(inReach(l.x1, l.y1) && inReach(l.x2, l.y2)) << content;
        for (const Polygon &p : c.polygons)
            for (const auto &[x, y] : p.points)
                EXPECT_TRUE(inReach(x, y)) << content;
        EXPECT_FALSE(c.kinds.empty()) << content;
    }
}

} // namespace
} // namespace quarnel::testing
