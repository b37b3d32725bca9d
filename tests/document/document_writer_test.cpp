// Writing a document: the intermediate file's name, running the writer, the window around the
// run, and the failures the caller must hear about.
#include "document/document_fixtures.h"
#include "layout/document_writer.h"
#include "layout/intermediate_path.h"
#include "layout/process_runner.h"
#include "support/recording_window.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace quarnel::testing {
namespace {

using layout::DocumentResult;

class DocumentWriterTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(sandbox_.executableDirectory()); }

    std::string writerPath() const { return sandbox_.executableDirectory() + "vornik"; }
    // A stand-in writer: a shell script beside the (redirected) executable.
    void installScript(const std::string &body) const
    {
        writeFile(writerPath(), "#!/bin/sh\n" + body + "\n");
        ::chmod(writerPath().c_str(), 0755);
    }
    void installRealWriter() const { std::filesystem::create_symlink(vornikPath(), writerPath()); }

    static void addTwoPages(LayoutDocument &document)
    {
        document.addPage(2051, 3483, {textRecord(100, 100, "first page")});
        document.addPage(2051, 3483, {textRecord(100, 100, "second page")});
    }

    std::vector<std::string> leftovers() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(out_.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    SettingsSandbox sandbox_;
    TempDir out_;
    RecordingWindow window_;
};

TEST_F(DocumentWriterTest, RunsTheWriterWithBlanksInPathsAndShowsItsStatusLines)
{
    installRealWriter();
    std::filesystem::create_directory(out_.file("my folder"));
    const std::string destination = out_.file("my folder/the report.doc");
    LayoutDocument document;
    addTwoPages(document);

    EXPECT_EQ(layout::writeLayoutDocument(&document.head(), destination, window_), DocumentResult::Written);
    EXPECT_EQ(readFile(destination).rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(readFile(destination).find("second page"), std::string::npos);
    const std::vector<std::string> expectedCalls = {"title Quarnel v1.4", "hide", "text 1017 page 1 of 2",
                                                    "text 1017 page 2 of 2", "title Naffo PDF to Word Converter",
                                                    "show"};
    EXPECT_EQ(window_.calls(), expectedCalls);
    EXPECT_FALSE(fileExists(out_.file("my folder/the report.tmp")));
}

TEST_F(DocumentWriterTest, ReportsAWriterThatFailsAndStillDeletesTheIntermediateFile)
{
    struct Case {
        const char *name;
        const char *script; // nullptr: no writer installed
    } cases[] = {
        {"missing writer", nullptr},
        {"non-zero exit", "cp \"$1\" \"$2\"; exit 3"},
        {"exit 0 without a document", "exit 0"},
        {"killed by a signal", "kill -9 $$"},
    };
    LayoutDocument document;
    addTwoPages(document);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(writerPath());
        if (c.script)
            installScript(c.script);
        const std::string destination = out_.file(std::string(c.name) + ".doc");
        RecordingWindow window;
        EXPECT_EQ(layout::writeLayoutDocument(&document.head(), destination, window), DocumentResult::WriterFailed);
        EXPECT_FALSE(fileExists(out_.file(std::string(c.name) + ".tmp")));
        ASSERT_FALSE(window.calls().empty());
        EXPECT_EQ(window.calls().back(), "show");
        std::filesystem::remove(destination);
    }
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(DocumentWriterTest, NeverReplacesAFileThatHasTheIntermediateName)
{
    // The stand-in records which intermediate file it was given, and that the file existed.
    installScript("test -f \"$1\" && basename \"$1\" > \"$(dirname \"$2\")/given\" && echo document > \"$2\"");
    struct Case {
        const char *destination;
        std::vector<std::string> existing;
        const char *intermediate;
    } cases[] = {
        {"report.doc", {}, "report.tmp"},
        {"report.doc", {"report.tmp"}, "report.1.tmp"},
        {"report.doc", {"report.tmp", "report.1.tmp"}, "report.2.tmp"},
        {"report", {}, "report.tmp"},
        {"report.tmp", {}, "report.1.tmp"},
    };
    LayoutDocument document;
    addTwoPages(document);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.destination) + " / " + c.intermediate);
        TempDir folder;
        for (const std::string &name : c.existing)
            writeFile(folder.file(name), "the user's " + name);
        EXPECT_EQ(layout::writeLayoutDocument(&document.head(), folder.file(c.destination), window_),
                  DocumentResult::Written);
        EXPECT_EQ(readFile(folder.file("given")), std::string(c.intermediate) + "\n");
        EXPECT_FALSE(fileExists(folder.file(c.intermediate)));
        for (const std::string &name : c.existing)
            EXPECT_EQ(readFile(folder.file(name)), "the user's " + name);
    }
}

TEST_F(DocumentWriterTest, ReportsWhenThereIsNothingToWriteOrNoIntermediateFile)
{
    installScript("echo document > \"$2\"");
    LayoutDocument document;
    addTwoPages(document);
    EXPECT_EQ(layout::writeLayoutDocument(nullptr, out_.file("a.doc"), window_), DocumentResult::NothingToWrite);
    EXPECT_EQ(layout::writeLayoutDocument(&document.head(), out_.file("missing folder/a.doc"), window_),
              DocumentResult::IntermediateFailed);
    EXPECT_TRUE(window_.calls().empty()) << "the writer must not run";
}

TEST(RunProcess, ReturnsTheExitCodeAndPassesStatusLines)
{
    std::vector<std::string> lines;
    const auto collect = [&lines](const std::string &line) { lines.push_back(line); };
    // The status descriptor is the last argument; the final line has no line end.
    const std::string script = "eval \"fd=\\${$#}\"; printf 'one\\ntwo' >&$fd; exit 7";
    EXPECT_EQ(layout::runProcess({"/bin/sh", "-c", script, "sh"}, collect), 7);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(layout::runProcess({"/bin/sh", "-c", "kill -9 $$"}), 128 + 9);
    EXPECT_EQ(layout::runProcess({"/nonexistent/writer"}, collect), -1);
    EXPECT_EQ(layout::runProcess({}), -1);
}

} // namespace
} // namespace quarnel::testing
