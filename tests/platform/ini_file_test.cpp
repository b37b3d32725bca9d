#include "platform/ini_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quarnel::platform {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault)
{
    TempDir dir;
    const std::string path = dir.file("none.ini");
    EXPECT_EQ(readIniInt(path, "Zoom", "Ratio", 100), 100);
    EXPECT_EQ(readIniText(path, "A", "B", "dflt"), "dflt");

    writeFile(path, "[Other]\nZoom=5\n");
    EXPECT_EQ(readIniInt(path, "ZoomRatio", "Zoom", 100), 100);
    EXPECT_EQ(readIniInt(path, "Other", "Missing", 7), 7);
}

TEST(IniFile, NamesCompareWithoutCaseAndIntegersParseLikeWindows)
{
    TempDir dir;
    const std::string path = dir.file("a.ini");
    writeFile(path, "; comment\r\n[ZoomRatio]\r\nZOOM = 150\r\nNeg=-3\r\nText=abc\r\nLead=42px\r\n");
    struct Case {
        const char *section, *key;
        int expected;
    };
    const Case cases[] = {
        {"zoomratio", "zoom", 150}, {"ZOOMRATIO", "Zoom", 150}, {"ZoomRatio", "neg", -3},
        {"ZoomRatio", "text", 0},   {"ZoomRatio", "lead", 42},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readIniInt(path, c.section, c.key, 99), c.expected) << c.key;
    EXPECT_EQ(readIniText(path, "zoomratio", "TEXT", ""), "abc");
    EXPECT_EQ(readIniText(path, "zoomratio", "TEXT", "", 2), "ab");
}

TEST(IniFile, FirstWriteCreatesFileAndFolder)
{
    TempDir dir;
    const std::string path = dir.file("new/folder/q.INI");
    ASSERT_TRUE(writeIniInt(path, "ZoomRatio", "Zoom", 75));
    EXPECT_EQ(readFile(path), "[ZoomRatio]\nZoom=75\n");
    EXPECT_EQ(readIniInt(path, "ZoomRatio", "Zoom", 100), 75);
}

TEST(IniFile, WritesReplaceInPlaceAndKeepOtherLines)
{
    TempDir dir;
    const std::string path = dir.file("a.ini");
    writeFile(path, "# keep me\n[One]\nA=1\nweird line\n\n[Two]\nB=2\n");

    ASSERT_TRUE(writeIniInt(path, "one", "a", 10));   // replaced where it stands, name kept
    ASSERT_TRUE(writeIniText(path, "ONE", "C", "x")); // added at the end of its section
    ASSERT_TRUE(writeIniInt(path, "Three", "D", -4)); // new section at the end
    ASSERT_TRUE(writeIniInt(path, "Two", "B", 20));   // two writes in a row
    EXPECT_EQ(readFile(path), "# keep me\n[One]\nA=10\nweird line\nC=x\n\n[Two]\nB=20\n[Three]\nD=-4\n");
}

TEST(IniFile, WriteToUnwritablePlaceFailsQuietly)
{
    EXPECT_FALSE(writeIniInt("/proc/no/such/dir/x.ini", "A", "B", 1));
}

} // namespace
} // namespace quarnel::platform
