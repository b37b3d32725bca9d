// vornik's RTF: characters in every code page, formatting, one section per page, the font from
// config.ini, pictures it cannot use, lines as shapes or as a page picture, and a destination it
// cannot write.
#include "document/document_fixtures.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace quarnel::testing {
namespace {

size_t countOf(const std::string &text, const std::string &part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Word rejects a file whose groups do not close; escaped braces do not count.
bool groupsBalance(const std::string &rtf)
{
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\')
            ++i;
        else if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

class VornikTest : public ::testing::Test {
protected:
    // Runs vornik on the document and returns the RTF it wrote.
    std::string convert(const LayoutDocument &document, int codePage = 1252, const std::string &program = vornikPath())
    {
        writeIntermediate(document, dir_.file("doc.tmp"));
        run_ = runProgram({program, dir_.file("doc.tmp"), dir_.file("doc.doc")},
                          {"QUARNEL_CODEPAGE=" + std::to_string(codePage)});
        EXPECT_EQ(run_.exitCode, 0) << run_.errorOutput;
        return readFile(dir_.file("doc.doc"));
    }
    TempDir dir_;
    ProgramRun run_;
};

TEST_F(VornikTest, WritesEveryCharacterAsUnicodeWithTheCodePageBytesAsFallback)
{
    struct Case {
        int codePage;
        std::string bytes;
        const char *rtf;
        const char *fontCharset;
    } cases[] = {
        {1252, "Caf\xE9 \x80", "Caf\\u233\\'e9 \\u8364\\'80", "\\fcharset0"},
        {936, "\xD6\xD0\xCE\xC4", "\\uc2 \\u20013\\'d6\\'d0\\u25991\\'ce\\'c4", "\\fcharset134"},
        {1251, "\xC0\xE1", "\\u1040\\'c0\\u1073\\'e1", "\\fcharset204"},
        {65001, "\xC3\xA9\xF0\x9F\x98\x80", "\\u233?\\uc0 \\u-10179\\uc1 \\u-8704?", "\\fcharset0"},
        {1252, "a{b}c\\d\te", "a\\{b\\}c\\\\d\\tab e", "\\fcharset0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.codePage);
        LayoutDocument document;
        document.addPage(2051, 3483, {textRecord(10, 10, c.bytes)});
        const std::string rtf = convert(document, c.codePage);
        EXPECT_NE(rtf.find(c.rtf), std::string::npos) << rtf;
        EXPECT_NE(rtf.find(c.fontCharset), std::string::npos);
        EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char ch) { return (unsigned char)ch < 0x80; }));
        EXPECT_TRUE(groupsBalance(rtf));
    }
}

TEST_F(VornikTest, WritesFormattingPlacementAndOneSectionPerPage)
{
    LayoutDocument document;
    document.addPage(2051, 3483,
                     {textRecord(100, 200, "bold", layout::TextFlagBold, 40, 600, 0x0000FF),
                      textRecord(100, 300, "\n\nitalic\nnext", layout::TextFlagItalic, 30, 600, 0xFF0000)});
    document.addUnbuiltPage();
    document.addPage(1000, 500, {textRecord(50, 60, "boxed", layout::TextFlagTextBox, 20, 300)});
    const std::string rtf = convert(document);

    EXPECT_TRUE(groupsBalance(rtf));
    EXPECT_EQ(countOf(rtf, "\\sectd"), 3u);
    EXPECT_EQ(countOf(rtf, "\\sect\n"), 2u);
    // Colours: 0x00BBGGRR, so 0x0000FF is red and 0xFF0000 blue.
    EXPECT_NE(rtf.find("{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fs23\\b\\cf2 {bold}"), std::string::npos) << rtf;
    // 30 units per line pitch of 40 units (height and a third), two leading line feeds: 464 twips.
    EXPECT_NE(rtf.find("\\li580\\sb464\\f0\\fs17\\i\\cf3 {italic\\line next}"), std::string::npos) << rtf;
    // Page sizes in twips (5.8 per unit); the first flowing record's top is the top margin.
    EXPECT_NE(rtf.find("\\pgwsxn11896\\pghsxn20201\\marglsxn0\\margrsxn0\\margtsxn1160"), std::string::npos);
    EXPECT_NE(rtf.find("\\pgwsxn14384\\pghsxn20346"), std::string::npos);
    EXPECT_NE(rtf.find("\\pgwsxn5800\\pghsxn2900\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn0\\headery0\\footery0\\lndscpsxn"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\pvpg\\phpg\\posx290\\posy348\\absw1740"), std::string::npos);
}

TEST_F(VornikTest, TakesTheFontFromConfigIniBesideIt)
{
    TempDir bin;
    std::filesystem::create_hard_link(vornikPath(), bin.file("vornik"));
    LayoutDocument document;
    document.addPage(100, 100, {textRecord(1, 1, "x")});
    EXPECT_NE(convert(document, 1252, bin.file("vornik")).find("\\fprq2 Times New Roman;}"), std::string::npos);
    writeFile(bin.file("config.ini"), "[Vornik]\nFontName=Liberation Serif\n");
    EXPECT_NE(convert(document, 1252, bin.file("vornik")).find("\\fprq2 Liberation Serif;}"), std::string::npos);
}

TEST_F(VornikTest, SkipsAPictureWhoseHeaderDoesNotMatchItsData)
{
    LayoutDocument document;
    layout::LayoutRecord broken = pictureRecord(10, 10, 100, 100, 4, 4, 0x123456);
    std::get<layout::PictureRecordBody>(broken.body).data.pop_back();
    document.addPage(2051, 2903, {pictureRecord(10, 10, 100, 100, 4, 4, 0x123456), std::move(broken)});
    const std::string rtf = convert(document);
    EXPECT_EQ(countOf(rtf, "\\pngblip"), 1u);
    EXPECT_NE(run_.errorOutput.find("1 picture(s) skipped"), std::string::npos);
}

TEST_F(VornikTest, CutsPicturesToThePage)
{
    // Writer would move a picture that sticks out of the page; vornik keeps the part on the page.
    LayoutDocument document;
    document.addPage(1000, 1000, {pictureRecord(-100, 50, 400, 200, 40, 20, 0xFF0000),
                                  pictureRecord(1200, 50, 100, 100, 4, 4, 0x00FF00),
                                  lineRecord(10, 10, 2000, 5, 2, 0, 1)});
    const std::string rtf = convert(document);
    EXPECT_TRUE(groupsBalance(rtf));
    EXPECT_EQ(countOf(rtf, "\\pngblip"), 1u);
    EXPECT_NE(rtf.find("\\shpleft0\\shptop290\\shpright1740\\shpbottom1450"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\picw30\\pich20\\picwgoal1740\\pichgoal1160"), std::string::npos);
    EXPECT_EQ(run_.errorOutput, "");
}

// A grid of `count` horizontal lines, 20 units apart.
std::vector<layout::LayoutRecord> lineGrid(int count, int32_t penStyle = 0)
{
    std::vector<layout::LayoutRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back(lineRecord(100, 100 + 20 * i, 800, 0, 2, 0, penStyle));
    return records;
}

TEST_F(VornikTest, DrawsAPageWithManyLinesAsOnePictureBehindTheText)
{
    struct Case {
        const char *name;
        std::vector<layout::LayoutRecord> lines;
        size_t lineShapes, pictures;
    } cases[] = {
        {"a few lines stay shapes", lineGrid(40), 40, 0},
        {"many lines", lineGrid(41), 0, 1},
        // Each of these is drawn as 37 dash shapes.
        {"a few dashed lines", lineGrid(5, 1), 5 * 37, 0},
        {"a few dashed lines, too many dashes", lineGrid(6, 1), 0, 1},
        {"lines off the page cost nothing", [] {
             auto records = lineGrid(40);
             for (int i = 0; i < 100; ++i)
                 records.push_back(lineRecord(1500, 100, 100, 100));
             return records;
         }(), 40, 0},
        {"many lines, all off the page", std::vector<layout::LayoutRecord>(100, lineRecord(-500, 100, 100, 100)), 0, 0},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.name);
        LayoutDocument document;
        c.lines.push_back(textRecord(100, 50, "over the lines"));
        document.addPage(1000, 1400, std::move(c.lines));
        const std::string rtf = convert(document);
        EXPECT_TRUE(groupsBalance(rtf));
        EXPECT_EQ(countOf(rtf, "{\\sn shapeType}{\\sv 20}"), c.lineShapes);
        EXPECT_EQ(countOf(rtf, "\\pngblip"), c.pictures);
        EXPECT_NE(rtf.find("over the lines"), std::string::npos);
        if (c.pictures > 0) {
            // The whole page, behind the text, one pixel per unit.
            EXPECT_NE(rtf.find("\\shpleft0\\shptop0\\shpright5800\\shpbottom8120\\shpfhdr0\\shpbxpage"
                               "\\shpbxignore\\shpbypage\\shpbyignore\\shpwr3\\shpwrk0\\shpfblwtxt1"),
                      std::string::npos);
            EXPECT_NE(rtf.find("\\picw1000\\pich1400\\picwgoal5800\\pichgoal8120"), std::string::npos);
        }
        EXPECT_EQ(run_.errorOutput, "");
    }
}

TEST_F(VornikTest, DrawsLinesAsPicturesOnceTheDocumentHasItsShareOfLineShapes)
{
    // 40 lines a page: shapes for the first 1000 lines, then one picture per page.
    LayoutDocument document;
    for (int page = 0; page < 30; ++page)
        document.addPage(1000, 1400, lineGrid(40));
    document.addPage(1000, 1400, lineGrid(3));
    const std::string rtf = convert(document);
    EXPECT_EQ(countOf(rtf, "{\\sn shapeType}{\\sv 20}"), 1000u);
    EXPECT_EQ(countOf(rtf, "\\pngblip"), 6u);
}

TEST_F(VornikTest, DrawsTheLinesOfAHugePageAtTheSizeOfTheLargestPage)
{
    LayoutDocument document;
    auto records = lineGrid(50);
    records.push_back(lineRecord(0, 0, 2000000000, 2000000000, 2000000000));
    document.addPage(2000000000, 2000000000, std::move(records));
    const std::string rtf = convert(document);
    EXPECT_EQ(countOf(rtf, "\\pngblip"), 1u);
    // 22 in square, fewer pixels than units.
    EXPECT_NE(rtf.find("\\pich2828\\picwgoal31680\\pichgoal31680"), std::string::npos);
}

TEST_F(VornikTest, LeavesTheDestinationAloneWhenItCannotWriteIt)
{
    LayoutDocument document;
    document.addPage(100, 100, {textRecord(1, 1, "x")});
    writeIntermediate(document, dir_.file("doc.tmp"));
    // A folder in the destination's place cannot be replaced, even by a privileged user.
    std::filesystem::create_directory(dir_.file("taken.doc"));
    writeFile(dir_.file("taken.doc/old"), "old");

    for (const std::string &destination : {dir_.file("taken.doc"), dir_.file("missing/new.doc")}) {
        SCOPED_TRACE(destination);
        const ProgramRun run = runProgram({vornikPath(), dir_.file("doc.tmp"), destination});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errorOutput.rfind("vornik: ", 0), 0u);
    }
    EXPECT_EQ(readFile(dir_.file("taken.doc/old")), "old");
    // Nothing but the input and the folder: the temporary document is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
    EXPECT_EQ(runProgram({vornikPath(), dir_.file("doc.tmp")}).exitCode, 1) << "usage";
}

} // namespace
} // namespace quarnel::testing
