#include "capture/engine_state.h"
#include "engine_api/engine_config.h"
#include "support/temp_dir.h"

#include <GlobalParams.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace quarnel::engine {
namespace {

using testing::TempDir;
using testing::writeFile;

// Runs a test body with the engine's executable directory pointing at a scratch folder.
class EngineConfig : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = capture::engineState().exeDirectory;
        capture::engineState().exeDirectory = dir_.path();
    }
    void TearDown() override
    {
        capture::engineState().exeDirectory = saved_;
        capture::engineState().textEndOfLine = capture::TextEndOfLine::Dos;
        capture::engineState().displayFontCollections.clear();
    }
    TempDir dir_;
    std::string saved_;
};

TEST_F(EngineConfig, ResourceFilesAreFoundBesideTheExecutable)
{
    std::filesystem::create_directories(dir_.path() + "Resource/CMap");
    writeFile(dir_.path() + "Resource/CMap/GBK-EUC-H", "cmap");
    writeFile(dir_.path() + "Resource/Latin1.unicodeMap", "map");
    writeFile(dir_.path() + "own.lst", "x");

    EXPECT_EQ(openResourceFile(dir_.path() + "own.lst"), dir_.path() + "own.lst");
    EXPECT_EQ(openResourceFile("/nowhere/GBK-EUC-H"), dir_.path() + "Resource/CMap/GBK-EUC-H");
    EXPECT_EQ(openResourceFile("/nowhere/Latin1.unicodeMap"), dir_.path() + "Resource/Latin1.unicodeMap");
    EXPECT_EQ(openResourceFile("/nowhere/none"), std::nullopt);
}

TEST_F(EngineConfig, ResourceFolderWithPopplerDataBecomesTheDataDirectory)
{
    EXPECT_EQ(resourceDataDirectory(), std::nullopt);
    std::filesystem::create_directories(dir_.path() + "Resource/cMap");
    EXPECT_EQ(resourceDataDirectory(), dir_.path() + "Resource");
}

TEST_F(EngineConfig, HonouredIgnoredAndUnknownCommands)
{
    GlobalParams params;
    EXPECT_TRUE(applyConfigLine(params, "textEncoding Latin1"));
    EXPECT_EQ(params.getTextEncodingName(), "Latin1");
    EXPECT_TRUE(applyConfigLine(params, "textEOL unix   # comment"));
    EXPECT_EQ(capture::engineState().textEndOfLine, capture::TextEndOfLine::Unix);
    EXPECT_TRUE(applyConfigLine(params, "cMapDir Adobe-GB1 \"c:\\some dir\\CMap\""));
    EXPECT_TRUE(applyConfigLine(params, "displayCIDFontTT Adobe-GB1 /fonts/song.ttf"));
    EXPECT_EQ(capture::engineState().displayFontCollections.count("Adobe-GB1"), 1u);
    EXPECT_TRUE(applyConfigLine(params, "# only a comment"));
    EXPECT_TRUE(applyConfigLine(params, ""));
    EXPECT_FALSE(applyConfigLine(params, "fontpath /usr/share/fonts"));
    EXPECT_FALSE(applyConfigLine(params, "noSuchCommand 1"));
}

TEST_F(EngineConfig, ConfigListInTheCurrentDirectoryIsRead)
{
    TempDir work;
    writeFile(work.file("config.lst"), "bogus line\ntextEncoding 'UTF-8'\ntextEOL mac\n");
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(work.path().c_str()), 0);
    GlobalParams params;
    params.setTextEncoding("Latin1");
    const std::optional<std::string> read = loadEngineConfig(params);
    ASSERT_EQ(::chdir(cwd), 0);
    EXPECT_EQ(read, "config.lst");
    EXPECT_EQ(params.getTextEncodingName(), "UTF-8");
    EXPECT_EQ(capture::engineState().textEndOfLine, capture::TextEndOfLine::Mac);
}

} // namespace
} // namespace quarnel::engine
