#include "convert/command_line.h"
#include "convert/conversion_queue.h"
#include "settings/setting_keys.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

namespace quarnel::convert {
namespace {

using testing::SettingsSandbox;
namespace keys = settings::keys;

std::vector<std::string> line(std::initializer_list<const char *> args)
{
    std::vector<std::string> result{"quarnel"};
    result.insert(result.end(), args.begin(), args.end());
    return result;
}

TEST(ParseArguments, ConsumesOptionsAndKeepsTheRest)
{
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {line({"-f", "5", "-l", "+8", "-z", "-3"}), true, line({})},
        {line({"a.pdf", "-q", "b"}), true, line({"a.pdf", "b"})},
        {line({"-f", "abc", "-i", "x.pdf"}), false, line({"abc"})},
        {line({"-f", "1x"}), false, line({"1x"})},
        {line({"-i"}), false, line({})},
        {line({"-l"}), false, line({})},
        {line({"-q", "--", "-r", "-m"}), true, line({"-r", "-m"})},
        {line({"-Q", "-i", "-q"}), true, line({"-Q"})},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = c.args;
        CommandLineOptions options;
        EXPECT_EQ(parseArguments(args, options), c.ok) << args.size();
        EXPECT_EQ(args, c.left);
    }
}

TEST(ParseArguments, SetsEveryOptionAndLaterOnesWin)
{
    std::vector<std::string> args =
        line({"-f", "2", "-l", "9", "-z", "150", "-b", "0", "-i", "a.pdf", "-i", "b.pdf", "-o", "o.doc", "-q", "-m",
              "-r", "-?"});
    CommandLineOptions options;
    ASSERT_TRUE(parseArguments(args, options));
    EXPECT_EQ(options.firstPage, 2);
    EXPECT_EQ(options.lastPage, 9);
    EXPECT_EQ(options.zoom, 150);
    EXPECT_EQ(options.charSpacing, 0);
    EXPECT_EQ(options.source, "b.pdf");
    EXPECT_EQ(options.destination, "o.doc");
    EXPECT_TRUE(options.exitWhenDone && options.noWindow && options.overwrite && options.help);

    std::vector<std::string> sourceIsQ = line({"-i", "-q"});
    CommandLineOptions other;
    ASSERT_TRUE(parseArguments(sourceIsQ, other));
    EXPECT_EQ(other.source, "-q");
    EXPECT_FALSE(other.exitWhenDone);
}

struct Applied {
    StartAction action;
    CommandLineOptions options;
    ConversionQueue queue;
};

void apply(Applied &applied, const std::vector<std::string> &args)
{
    applied.action = applyCommandLine(args, applied.options, applied.queue);
}

TEST(ApplyCommandLine, WritesRangeZoomAndSpacingAndQueuesOneJob)
{
    SettingsSandbox sandbox;
    struct Case {
        std::vector<std::string> args;
        int rangeType, from, to, zoom, spacing;
        const char *destination; // nullptr: no job
    };
    const Case cases[] = {
        {line({"-i", "/in/a.pdf"}), 0, 1, 100000, 100, 100, "/in/a.doc"},
        {line({"-f", "0", "-l", "100000", "-i", "x.pdf"}), 0, 1, 100000, 100, 100, "x.doc"},
        {line({"-l", "8", "-i", "x.pdf"}), 1, 0, 8, 100, 100, "x.doc"},
        {line({"-z", "49", "-b", "-1", "-i", "x"}), 0, 1, 100000, 100, 100, "x.doc"},
        {line({"-z", "50", "-b", "0", "-i", "x"}), 0, 1, 100000, 50, 0, "x.doc"},
        {line({"-z", "200", "-b", "200", "-o", "/out/x.rtf", "-i", "a.pdf"}), 0, 1, 100000, 200, 200, "/out/x.doc"},
        {line({"-z", "201", "-b", "201", "/in/a.pdf"}), 0, 1, 100000, 100, 100, nullptr},
    };
    for (const Case &c : cases) {
        settings::write(keys::Zoom, 100);
        settings::write(keys::CharSpaces, 100);
        settings::write(keys::PageFrom, 1);
        settings::write(keys::PageTo, 100000);
        Applied applied;
        apply(applied, c.args);
        const std::string label = c.args.back();
        EXPECT_EQ(applied.action, StartAction::Continue) << label;
        EXPECT_EQ(settings::read(keys::PageRangeType), c.rangeType) << label;
        EXPECT_EQ(settings::read(keys::PageFrom), c.from) << label;
        EXPECT_EQ(settings::read(keys::PageTo), c.to) << label;
        EXPECT_EQ(settings::read(keys::Zoom), c.zoom) << label;
        EXPECT_EQ(settings::read(keys::CharSpaces), c.spacing) << label;
        if (c.destination) {
            ASSERT_EQ(applied.queue.size(), 1u) << label;
            EXPECT_EQ(applied.queue.first()->destinationPath, c.destination);
        } else {
            EXPECT_TRUE(applied.queue.empty()) << label;
        }
    }
}

TEST(ApplyCommandLine, NoArgumentsOrBadOnesChangeNothing)
{
    SettingsSandbox sandbox;
    for (const std::vector<std::string> &args :
         {line({}), line({"-f", "abc", "-i", "x.pdf"}), line({"-h", "-z", "150", "-i", "x.pdf"}), line({"-i"})}) {
        Applied applied;
        apply(applied, args);
        EXPECT_EQ(applied.action, args.size() == 1 ? StartAction::Continue : StartAction::ShowUsageAndExit);
        EXPECT_TRUE(applied.queue.empty());
        EXPECT_FALSE(testing::fileExists(sandbox.appProfilePath()));
    }
}

TEST(ApplyCommandLine, LongPathsAreCutTo259Characters)
{
    SettingsSandbox sandbox;
    const std::string longPath = "/" + std::string(299, 'p');
    Applied applied;
    apply(applied, {"quarnel", "-i", longPath});
    ASSERT_EQ(applied.queue.size(), 1u);
    EXPECT_EQ(applied.queue.first()->sourcePath, longPath.substr(0, 259));
}

TEST(UsageText, HasTheFixedLinesAndLineEnds)
{
    const std::string &text = usageText();
    EXPECT_EQ(text.rfind("Usage: Quarnel [Option] <PDF File> [<RTF File>]\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\n\r\nFor example      : \r\n\tQuarnel -i c:\\a.pdf\r\n"), std::string::npos);
    EXPECT_NE(text.find("c:\\a.rtfdocr\n\tQuarnel -q -m -r -b 50"), std::string::npos);
}

TEST(DestinationRules, DroppedAndFolderJobs)
{
    EXPECT_EQ(jobForDroppedFile("/d/report.PDF").destinationPath, "/d/report.doc");
    EXPECT_EQ(jobForDroppedFile("/d/notes").destinationPath, "/d/notes.doc");
    EXPECT_EQ(jobForFileInFolder("/d/a.pdf", "/out").destinationPath, "/out/a.doc");
    EXPECT_EQ(jobForFileInFolder("/d/a.pdf", "/out/").destinationPath, "/out/a.doc");
}

} // namespace
} // namespace quarnel::convert
