// vornik's documents opened by LibreOffice: pages, text, formatting, positions, pictures, lines
// as shapes and as a page picture.
// Each test converts one document (a few seconds each), so the checks are grouped per document.
#include "document/document_fixtures.h"
#include "document/e2e_support.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quarnel::testing {
namespace {

constexpr double PointsPerUnit = 0.29;
constexpr int TextBox = layout::TextFlagTextBox;

std::string writeDocument(const TempDir &dir, const LayoutDocument &document, int codePage)
{
    writeIntermediate(document, dir.file("doc.tmp"));
    const std::string destination = dir.file("doc.doc");
    const ProgramRun run = runProgram({vornikPath(), dir.file("doc.tmp"), destination},
                                      {"QUARNEL_CODEPAGE=" + std::to_string(codePage)});
    EXPECT_EQ(run.exitCode, 0) << run.errorOutput;
    return destination;
}

const PdfWord *findWord(const std::vector<PdfWord> &words, const std::string &text, int occurrence = 0)
{
    for (const PdfWord &word : words)
        if (word.text == text && occurrence-- == 0)
            return &word;
    return nullptr;
}

class VornikInLibreOffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveLibreOffice())
            GTEST_SKIP() << "soffice or poppler-utils missing";
    }
    TempDir dir_;
};

TEST_F(VornikInLibreOffice, FlowingTextKeepsPagesWordsAndSizes)
{
    LayoutDocument document;
    document.addPage(2051, 3483,
                     {textRecord(200, 300, "Heading bold", layout::TextFlagBold, 60),
                      textRecord(200, 420, "Caf\xE9 cr\xE8me \x80 5 {braces} back\\slash"),
                      textRecord(400, 700, "\n\nIndented first\nsecond line", layout::TextFlagItalic, 40, 600, 0x0000FF)});
    document.addUnbuiltPage();
    document.addPage(3483, 2051, {textRecord(100, 100, "Landscape page")});
    const std::string doc = writeDocument(dir_, document, 1252);

    const std::string text = readFile(convertWithLibreOffice(doc, "txt", dir_.path()));
    for (const char *expected : {"Heading bold", "Caf\u00e9 cr\u00e8me \u20ac 5 {braces} back\\slash", "Indented first",
                                 "second line", "Landscape page"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    const std::string pdf = convertWithLibreOffice(doc, "pdf", dir_.path());
    ASSERT_FALSE(pdf.empty());
    // One page per page block, each of its size (the unbuilt page is 2480 x 3508 units).
    const std::vector<PageSize> sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 3u);
    const int expectedSizes[3][2] = {{2051, 3483}, {2480, 3508}, {3483, 2051}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(sizes[i].width, expectedSizes[i][0] * PointsPerUnit, 1.0) << "page " << i + 1;
        EXPECT_NEAR(sizes[i].height, expectedSizes[i][1] * PointsPerUnit, 1.0) << "page " << i + 1;
    }

    // The first record of a page starts at its y; the line feeds before the third push it down.
    const std::vector<PdfWord> words = pdfWords(pdf);
    const PdfWord *heading = findWord(words, "Heading");
    const PdfWord *indented = findWord(words, "Indented");
    ASSERT_TRUE(heading && indented);
    EXPECT_NEAR(heading->yMin, 300 * PointsPerUnit, 3.0);
    EXPECT_NEAR(heading->xMin, 200 * PointsPerUnit, 3.0);
    EXPECT_NEAR(indented->xMin, 400 * PointsPerUnit, 3.0);
    EXPECT_GT(indented->yMin, heading->yMin + 2 * 40 * PointsPerUnit);
}

TEST_F(VornikInLibreOffice, TextBoxesPicturesAndLinesSitWhereTheirRecordsSay)
{
    // Code page 936: the text records carry GBK bytes.
    const std::string chinese = "\xD6\xD0\xCE\xC4"; // 中文
    LayoutDocument document;
    document.addPage(2051, 2903,
                     {pictureRecord(300, 800, 400, 200, 40, 20, 0xFF0000),
                      pictureRecord(1200, 800, 300, 300, 10, 10, 0x0000FF),
                      lineRecord(200, 1900, 1500, 0, 6),
                      lineRecord(200, 2100, 1500, 0, 6, 0, 1),
                      lineRecord(700, 2300, -500, 200, 6),
                      textRecord(200, 300, "Alpha", TextBox),
                      textRecord(1200, 300, "Beta", TextBox | layout::TextFlagBold),
                      textRecord(200, 1500, "Gamma", TextBox | layout::TextFlagItalic),
                      textRecord(1200, 1500, "Delta", TextBox),
                      textRecord(1200, 1500, "Epsilon", TextBox),
                      textRecord(600, 2600, chinese, TextBox),
                      // A merged block's width adds up its lines, so its frame reaches the page edge
                      // and overlaps the block to its right: that one must stay visible.
                      textRecord(1200, 1580, "Covered\nCovered\nCovered\nCovered", TextBox),
                      textRecord(200, 1640, "Wide\nblock", TextBox, 40, 4000)});
    const std::string doc = writeDocument(dir_, document, 936);
    const std::string pdf = convertWithLibreOffice(doc, "pdf", dir_.path());
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(pdfPageSizes(pdf).size(), 1u);

    const std::vector<PdfWord> words = pdfWords(pdf);
    struct Expected {
        const char *text;
        int x, y;
    } placements[] = {{"Alpha", 200, 300},  {"Beta", 1200, 300},    {"Gamma", 200, 1500},
                      {"Delta", 1200, 1500}, {"Epsilon", 1200, 1500}, {"\u4e2d\u6587", 600, 2600}};
    for (const Expected &e : placements) {
        SCOPED_TRACE(e.text);
        const PdfWord *word = findWord(words, e.text);
        ASSERT_NE(word, nullptr);
        EXPECT_NEAR(word->xMin, e.x * PointsPerUnit, 3.0);
        EXPECT_NEAR(word->yMin, e.y * PointsPerUnit, 3.0);
    }

    const std::string images = shellOutput("pdfimages -list " + shellQuote(pdf));
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2 + 2) << images;

    // At 50 dpi a unit is 0.29 * 50 / 72 pixels.
    const double scale = PointsPerUnit * 50 / 72;
    const RenderedPage page = renderPage(pdf, 1, 50, dir_.path());
    ASSERT_GT(page.width, 0);
    const auto at = [&](double units) { return int(std::lround(units * scale)); };
    EXPECT_EQ(page.colorAt(at(500), at(900)), 0xFF0000u);
    EXPECT_EQ(page.colorAt(at(1350), at(950)), 0x0000FFu);
    EXPECT_LT(page.darkest(at(950), at(1900), 1), 200) << "solid line";
    for (int i = 0; i < 4; ++i) {
        const PdfWord *covered = findWord(words, "Covered", i);
        ASSERT_NE(covered, nullptr);
        const int x = int((covered->xMin + covered->xMax) / 2 * 50 / 72), y = int((covered->yMin + covered->yMax) / 2 * 50 / 72);
        EXPECT_LT(page.darkest(x, y, 3), 300) << "covered line " << i;
    }
    // The rising line from (700, 2300) to (200, 2500): ink at its middle, none at the mirror's.
    EXPECT_LT(page.darkest(at(450), at(2400), 1), 300) << "rising line";
    EXPECT_GT(page.darkest(at(300), at(2340), 1), 600) << "rising line drawn falling";
    // The dashed line alternates ink and gaps along its length.
    int inked = 0, blank = 0;
    for (int x = 220; x < 1680; x += 4)
        (page.darkest(at(x), at(2100), 0) < 400 ? inked : blank)++;
    EXPECT_GT(inked, 50);
    EXPECT_GT(blank, 30);
}

TEST_F(VornikInLibreOffice, ManyLinesShowAsOnePictureBehindTheText)
{
    // 48 black lines 40 units apart, a red one, a dashed one and one rising from right to left.
    std::vector<layout::LayoutRecord> records;
    for (int i = 0; i < 48; ++i)
        records.push_back(lineRecord(200, 400 + 40 * i, 1500, 0, 3));
    records.push_back(lineRecord(200, 2450, 1500, 0, 6, 0x0000FF));
    records.push_back(lineRecord(200, 2600, 1500, 0, 6, 0, 1));
    records.push_back(lineRecord(1700, 2700, -1500, -200, 6));
    records.push_back(textRecord(300, 200, "Legend", TextBox));
    LayoutDocument document;
    document.addPage(2051, 2903, std::move(records));
    const std::string pdf = convertWithLibreOffice(writeDocument(dir_, document, 1252), "pdf", dir_.path());
    ASSERT_FALSE(pdf.empty());

    const std::string images = shellOutput("pdfimages -list " + shellQuote(pdf));
    // One picture and its transparency.
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2 + 2) << images;
    EXPECT_NE(images.find("smask"), std::string::npos) << images;
    ASSERT_NE(findWord(pdfWords(pdf), "Legend"), nullptr);

    const double scale = PointsPerUnit * 100 / 72;
    const RenderedPage page = renderPage(pdf, 1, 100, dir_.path());
    ASSERT_GT(page.width, 0);
    const auto at = [&](double units) { return int(std::lround(units * scale)); };
    for (int i = 0; i < 48; i += 47) {
        EXPECT_LT(page.darkest(at(950), at(400 + 40 * i), 1), 400) << "line " << i;
        EXPECT_GT(page.darkest(at(950), at(420 + 40 * i), 1), 700) << "between lines " << i;
    }
    const unsigned red = page.colorAt(at(950), at(2450));
    EXPECT_GT(red >> 16, 200u);
    EXPECT_LT(red & 0xFFFF, 0x4040u) << std::hex << red;
    // The rising line from (1700, 2700) to (200, 2500) passes (1325, 2650); drawn falling it
    // would pass (1325, 2550).
    EXPECT_LT(page.darkest(at(1325), at(2650), 1), 300) << "rising line";
    EXPECT_GT(page.darkest(at(1325), at(2550), 1), 600) << "rising line drawn falling";
    int inked = 0, blank = 0;
    for (int x = 220; x < 900; x += 4)
        (page.darkest(at(x), at(2600), 0) < 400 ? inked : blank)++;
    EXPECT_GT(inked, 40);
    EXPECT_GT(blank, 25);
}

} // namespace
} // namespace quarnel::testing
