#include "settings/setting_keys.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quarnel::settings {
namespace {

using testing::SettingsSandbox;

TEST(SettingsStore, FirstRunGivesEveryDefault)
{
    SettingsSandbox sandbox;
    struct Case {
        const IntSetting &setting;
        int expected;
    };
    const Case ints[] = {
        {keys::Zoom, 100},       {keys::JpgQuality, 75},       {keys::PageRangeType, 0},
        {keys::PageFrom, 1},     {keys::PageTo, 100000},       {keys::PreviewAfterConvert, 0},
        {keys::StayOnTop, 0},    {keys::UseTextBox, 0},        {keys::AutoSpace, 1},
        {keys::MergeRows, 1},    {keys::DeleteLineBreaks, 0},  {keys::Language, 0},
        {keys::DeleteGraphics, 0}, {keys::DeletePictures, 0},  {keys::CharSpaces, 100},
        {keys::FontCount, 0},
    };
    for (const Case &c : ints)
        EXPECT_EQ(read(c.setting), c.expected) << c.setting.section << "/" << c.setting.key;
    EXPECT_EQ(read(keys::LastOpenPath), "/");
    EXPECT_EQ(read(keys::SaveFolder), "");
    EXPECT_EQ(read(keys::DefaultFontName), "Arial");
    EXPECT_FALSE(testing::fileExists(sandbox.appProfilePath()));
}

TEST(SettingsStore, WritesGoToTheirStoreAtOnce)
{
    SettingsSandbox sandbox;
    write(keys::Zoom, 150);
    write(keys::CharSpaces, 20);
    write(keys::LastOpenPath, "/home/ann/pdfs/");

    EXPECT_EQ(read(keys::Zoom), 150);
    EXPECT_EQ(read(keys::CharSpaces), 20);
    EXPECT_EQ(read(keys::LastOpenPath), "/home/ann/pdfs/");
    EXPECT_NE(testing::readFile(sandbox.appProfilePath()).find("[ZoomRatio]\nZoom=150\n"), std::string::npos);
    EXPECT_EQ(testing::readFile(sandbox.executableDirectory() + "config.ini"), "[Quarnel]\nCharSpaces=20\n");
}

TEST(SettingsStore, StoredNamesMatchWithoutCaseAndTextIsCut)
{
    SettingsSandbox sandbox;
    std::filesystem::create_directories(sandbox.executableDirectory());
    testing::writeFile(sandbox.executableDirectory() + "config.ini",
                       "[fontnamemapping]\nfontcount=1\ndefaultfontname=A-very-long-face-name-of-more-than-31-chars\n"
                       "PDFFONTNAME1=Foo\n");
    EXPECT_EQ(read(keys::FontCount), 1);
    EXPECT_EQ(read(keys::DefaultFontName), "A-very-long-face-name-of-more-t");
    EXPECT_EQ(readText(Store::ConfigIni, keys::FontMappingSection, "PdfFontName1", keys::FontNameDefault), "Foo");
    EXPECT_EQ(readText(Store::ConfigIni, keys::FontMappingSection, "OsFontName1", keys::FontNameDefault), "Default");
}

} // namespace
} // namespace quarnel::settings
