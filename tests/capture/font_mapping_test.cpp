// Font-name normalisation, the config.ini mapping table and face selection.
#include "capture/font_mapping.h"
#include "capture/font_name_table.h"
#include "capture/installed_faces.h"
#include "platform/ini_file.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

namespace quarnel::capture {
namespace {

TEST(FontMapping, NormalisationCutsStyleSuffixesAndSubsetPrefix)
{
    struct Case {
        const char *pdfName;
        const char *name;
        bool italic, bold;
    };
    const Case cases[] = {
        {"ABCDEF+Arial,BoldItalic", "Arial", true, true},
        {"Arial-BoldMT", "Arial", false, true},
        {"TimesNewRomanPS-ItalicMT", "TimesNewRomanPS", true, false},
        {"Helvetica-Oblique", "Helvetica-Oblique", false, false},
        {"Arial-Black", "Arial", false, true},
        {"Wingdings-Regular", "Wingdings-Regular", false, false},
        {"STSongStd-Light", "SimSun", false, false},
        {"ABCDEF+STHeiti-Regular", "SimHei", false, false},
        {"arial,bold", "arial,bold", false, false}, // the searches are case-sensitive
        {"", "", false, false},
        {"+", "", false, false},
        {"A+B+C", "B+C", false, false},
    };
    for (const Case &c : cases) {
        const NormalizedFontName n = normalizeFontName(c.pdfName);
        EXPECT_EQ(n.name, c.name) << c.pdfName;
        EXPECT_EQ(n.italicFromName, c.italic) << c.pdfName;
        EXPECT_EQ(n.boldFromName, c.bold) << c.pdfName;
    }
}

TEST(FontMapping, SelectionTriesTheTableThenTheCutNameAmongInstalledFaces)
{
    InstalledFaces installed;
    installed.setForTesting({"Arial", "Wingdings", "@SimSun"}, false);
    FontNameTable table;
    table.setForTesting({{"Arial", "Tahoma"}}, "Times New Roman");
    struct Case {
        const char *name;
        const char *face;
    };
    const Case cases[] = {
        {"Arial", "Tahoma"}, // mapped, before the installed list
        {"arial", "arial"},  // the table is case-sensitive, the installed list not
        {"Wingdings-Regular", "Wingdings"},
        {"MyFont,Condensed", "Times New Roman"},
        {"SimSun", "Times New Roman"}, // "@SimSun" is a different face
    };
    for (const Case &c : cases)
        EXPECT_EQ(selectFaceName(c.name, table, installed), c.face) << c.name;

    FontNameTable empty;
    empty.setForTesting({}, "");
    EXPECT_EQ(selectFaceName("MyFont,Condensed", empty, installed), "");
}

TEST(FontMapping, MetricAliasesOfInstalledFamiliesCountAsInstalled)
{
    InstalledFaces installed;
    installed.ensureLoaded();
    ASSERT_FALSE(installed.families().empty());
    // The test machine has Liberation Sans, which fontconfig offers for Arial.
    if (!installed.contains("Liberation Sans"))
        GTEST_SKIP() << "Liberation Sans is not installed";
    EXPECT_TRUE(installed.contains("Arial"));
    EXPECT_TRUE(installed.contains("LIBERATION SANS"));
    EXPECT_FALSE(installed.contains("NoSuchFace123")); // the generic fallback does not count
    EXPECT_FALSE(installed.contains(""));
}

class FontTableFile : public ::testing::Test {
protected:
    void set(const char *key, const std::string &value)
    {
        platform::writeIniText(sandbox_.executableDirectory() + "config.ini", "FontNameMapping", key, value);
    }
    testing::SettingsSandbox sandbox_;
};

TEST_F(FontTableFile, PairsDefaultsAndLimitsComeFromConfigIni)
{
    set("FontCount", "3");
    set("PdfFontName1", "Arial");
    set("OsFontName1", "Tahoma");
    set("PdfFontName2", "Courier");
    set("PdfFontName3", std::string(40, 'x'));
    set("OsFontName3", std::string(40, 'y'));
    FontNameTable table;
    table.ensureLoaded();
    ASSERT_EQ(table.pairs().size(), 3u);
    EXPECT_EQ(*table.faceFor("Arial"), "Tahoma");
    EXPECT_EQ(*table.faceFor("Courier"), "Default"); // OsFontName2 missing
    EXPECT_EQ(*table.faceFor(std::string(31, 'x')), std::string(31, 'y'));
    EXPECT_EQ(table.faceFor("arial"), nullptr);
    EXPECT_EQ(table.defaultFace(), "Arial"); // DefaultFontName missing
}

TEST_F(FontTableFile, ACountOfZeroIsReadAgainAndANegativeOneKeepsTheDefaultFace)
{
    FontNameTable table;
    table.ensureLoaded(); // no file yet
    EXPECT_TRUE(table.pairs().empty());
    EXPECT_EQ(table.defaultFace(), "");

    set("FontCount", "0");
    set("DefaultFontName", "Verdana");
    table.ensureLoaded();
    EXPECT_EQ(table.defaultFace(), ""); // not read while the count is 0

    set("FontCount", "-2");
    table.ensureLoaded();
    EXPECT_TRUE(table.pairs().empty());
    EXPECT_EQ(table.defaultFace(), "Verdana");

    set("FontCount", "1"); // loaded once the count was not 0: not read again
    table.ensureLoaded();
    EXPECT_TRUE(table.pairs().empty());
}

TEST_F(FontTableFile, AHugeCountIsBounded)
{
    set("FontCount", "2000000000");
    FontNameTable table;
    table.ensureLoaded();
    EXPECT_EQ(table.pairs().size(), static_cast<size_t>(FontNameTable::maxPairs));
}

} // namespace
} // namespace quarnel::capture
