#include "convert/conversion_queue.h"
#include "convert/file_converter.h"
#include "layout/intermediate/intermediate_writer.h"
#include "layout/page_layout.h"
#include "settings/setting_keys.h"
#include "support/engine_fixture.h"
#include "support/recording_window.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace quarnel::convert {
namespace {

using namespace quarnel::testing;
namespace keys = settings::keys;

// A document of `pages` pages, each with its number as text.
std::string numberedPdf(int pages)
{
    PdfWriter writer;
    const int font = writer.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (int i = 1; i <= pages; ++i)
        writer.addPage("BT /F1 24 Tf 72 700 Td (Page " + std::to_string(i) + ") Tj ET",
                       "<< /Font << /F1 " + ref(font) + " >> >>");
    return writer.finish();
}

size_t countOf(const std::string &text, const std::string &needle)
{
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}

std::vector<std::string> withPrefix(const std::vector<std::string> &calls, const std::string &prefix)
{
    std::vector<std::string> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
                 [&](const std::string &call) { return call.rfind(prefix, 0) == 0; });
    return result;
}

class FileConverter : public ::testing::Test {
protected:
    void SetUp() override { sandbox.installWriter(); }
    FileResult convert(const std::string &source, const std::string &destination, bool messages = true)
    {
        DriverContext context{window, queue, stopRequested, workerRunning, messages, {}};
        return convertFile(source, destination, context);
    }
    void setRange(int from, int to)
    {
        settings::write(keys::PageRangeType, 1);
        settings::write(keys::PageFrom, from);
        settings::write(keys::PageTo, to);
    }

    SettingsSandbox sandbox;
    TempDir dir;
    RecordingWindow window;
    ConversionQueue queue;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> workerRunning{true};
};

TEST_F(FileConverter, OnePageFileShowsCountersAndWritesTheDocument)
{
    const std::string source = writePdf(dir, "one.pdf", numberedPdf(1));
    queue.append(ConversionJob{source, dir.file("one.doc")});
    const FileResult result = convert(source, dir.file("one.doc"));
    EXPECT_EQ(result.result, 1);
    EXPECT_TRUE(result.documentWritten);

    const std::vector<std::string> calls = window.calls();
    EXPECT_EQ(calls.front(), "text 1012 " + source);
    EXPECT_EQ(withPrefix(calls, "text 1016"), std::vector<std::string>{"text 1016 1 file(s) left."});
    EXPECT_EQ(withPrefix(calls, "text 1014"), std::vector<std::string>{"text 1014 %PDF-1.4"});
    EXPECT_EQ(withPrefix(calls, "progress 1000"),
              (std::vector<std::string>{"progress 1000 99", "progress 1000 0"}));
    EXPECT_EQ(withPrefix(calls, "progress 1001"), std::vector<std::string>{"progress 1001 99"});
    EXPECT_EQ(calls.back(), "progress 1000 0");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "title Velmo PDF to Word Converter"), calls.end());
    const std::string document = readFile(dir.file("one.doc"));
    EXPECT_NE(document.find("Page 1"), std::string::npos);
    EXPECT_FALSE(fileExists(dir.file("one.tmp")));
}

TEST_F(FileConverter, StoredRangeSelectsPagesAndProgressFollowsIt)
{
    const std::string source = writePdf(dir, "ten.pdf", numberedPdf(10));
    setRange(0, 3);
    queue.append(ConversionJob{source, dir.file("ten.doc")});
    queue.append(ConversionJob{"next.pdf", "next.doc"});
    ASSERT_TRUE(convert(source, dir.file("ten.doc")).documentWritten);

    // Up to the writer step: the writer's own status lines go to the page counter too.
    std::vector<std::string> calls = window.calls();
    calls.erase(std::find(calls.begin(), calls.end(), "title Quarnel v1.4"), calls.end());
    EXPECT_EQ(withPrefix(calls, "text 1017"),
              (std::vector<std::string>{"text 1017 page 1 of 3", "text 1017 page 2 of 3", "text 1017 page 3 of 3"}));
    EXPECT_EQ(withPrefix(calls, "progress 1000"),
              (std::vector<std::string>{"progress 1000 33", "progress 1000 66", "progress 1000 99"}));
    EXPECT_EQ(window.calls().back(), "progress 1000 0");
    EXPECT_EQ(withPrefix(calls, "progress 1001").front(), "progress 1001 49");
    EXPECT_EQ(withPrefix(calls, "text 1016").front(), "text 1016 2 file(s) left.");
    const std::string document = readFile(dir.file("ten.doc"));
    EXPECT_NE(document.find("Page 3"), std::string::npos);
    EXPECT_EQ(document.find("Page 4"), std::string::npos);
}

TEST_F(FileConverter, BadRangesAreReportedAndNothingIsWritten)
{
    const std::string source = writePdf(dir, "five.pdf", numberedPdf(5));
    struct Case {
        int from, to;
        std::string message;
        bool opened;
    };
    const Case cases[] = {
        {5, 2, "message Page range is incorrect,Please check it in option dialog,and try again.", false},
        {-1, 3, "message Page range is incorrect,Please check it in option dialog,and try again.", false},
        {8, 100000,
         "message The '" + source + "' file only contain 5 pages, please correct the page range in the setting "
                                    "dialog and try again.",
         true},
    };
    for (const Case &c : cases) {
        setRange(c.from, c.to);
        window.clear();
        EXPECT_EQ(convert(source, dir.file("five.doc")).result, 0);
        EXPECT_EQ(withPrefix(window.calls(), "message"), std::vector<std::string>{c.message});
        EXPECT_FALSE(fileExists(dir.file("five.doc")));
        EXPECT_TRUE(withPrefix(window.calls(), "text 1017").empty());

        window.clear();
        EXPECT_EQ(convert(source, dir.file("five.doc"), /*messages=*/false).result, 0); // -m: silent
        EXPECT_TRUE(withPrefix(window.calls(), "message").empty());
    }
}

TEST_F(FileConverter, UnreadableSourcesAreReportedWithoutRunningTheWriter)
{
    const std::string damaged = writePdf(dir, "damaged.pdf", "%PDF-1.4\nthis is not a pdf\n");
    for (const std::string &source : {damaged, dir.file("missing.pdf")}) {
        window.clear();
        const FileResult result = convert(source, dir.file("out.doc"));
        EXPECT_EQ(result.result, 1);
        EXPECT_FALSE(result.documentWritten);
        EXPECT_EQ(withPrefix(window.calls(), "message"),
                  std::vector<std::string>{"message Can't extract the information from the '" + source +
                                           "' file, this pdf file perhaps been encrypted, please double check "
                                           "this pdf file."});
        EXPECT_TRUE(withPrefix(window.calls(), "title").empty()); // the writer never ran
        EXPECT_FALSE(fileExists(dir.file("out.doc")));
        EXPECT_FALSE(fileExists(dir.file("out.tmp")));
    }
}

TEST_F(FileConverter, UnwritableDestinationsFailWithoutHarm)
{
    const std::string source = writePdf(dir, "a.pdf", numberedPdf(1));
    const std::string original = readFile(source);
    for (const std::string &destination : {dir.file("no/such/folder/a.doc"), source}) {
        window.clear();
        const FileResult result = convert(source, destination);
        EXPECT_FALSE(result.documentWritten) << destination;
        EXPECT_EQ(withPrefix(window.calls(), "message"),
                  std::vector<std::string>{"message Can't write the Word document '" + destination + "'."});
    }
    EXPECT_EQ(readFile(source), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // no stray files
}

// Presses Stop when the page counter reaches a given text, as a user would during that page.
class StopAtPage final : public platform::WindowInterface {
public:
    StopAtPage(RecordingWindow &inner, std::atomic<bool> &stop, std::string trigger)
        : inner_(inner), stop_(stop), trigger_(std::move(trigger))
    {
    }
    void setControlText(int id, const std::string &text) override
    {
        inner_.setControlText(id, text);
        if (id == 1017 && text == trigger_)
            stop_ = true;
    }
    void setProgress(int id, int percent) override { inner_.setProgress(id, percent); }
    void setButton(int id, const std::string &caption, bool enabled) override { inner_.setButton(id, caption, enabled); }
    void setTitle(const std::string &title) override { inner_.setTitle(title); }
    void setVisible(bool visible) override { inner_.setVisible(visible); }
    void showMessage(const std::string &text) override { inner_.showMessage(text); }
    platform::Answer ask(const std::string &question) override { return inner_.ask(question); }
    std::optional<std::string> askSavePath(const std::string &path) override { return inner_.askSavePath(path); }
    void openDocument(const std::string &path) override { inner_.openDocument(path); }

private:
    RecordingWindow &inner_;
    std::atomic<bool> &stop_;
    std::string trigger_;
};

TEST_F(FileConverter, StopDuringAPageKeepsThePagesDoneAndAddsEmptyPages)
{
    const std::string source = writePdf(dir, "ten.pdf", numberedPdf(10));
    StopAtPage stopper(window, stopRequested, "page 3 of 10");
    DriverContext context{stopper, queue, stopRequested, workerRunning, true, {}};
    const FileResult result = convertFile(source, dir.file("ten.doc"), context);
    ASSERT_TRUE(result.documentWritten);
    const std::string document = readFile(dir.file("ten.doc"));
    EXPECT_NE(document.find("Page 2"), std::string::npos);
    EXPECT_EQ(document.find("Page 3"), std::string::npos);
    EXPECT_EQ(countOf(document, "\\sectd"), 4u); // pages 1 and 2, an empty page 3 and one more
}

// The streamed intermediate file equals the whole list written at once, as the driver would have
// built it: pages 1 and 2 laid out, page 3 stopped (an empty node) and the node added after it.
TEST_F(FileConverter, StreamedIntermediateFileEqualsTheWholeListWrittenAtOnce)
{
    // A writer that keeps a copy of the intermediate file it was given.
    const std::string copy = dir.file("streamed.bin");
    std::filesystem::remove(sandbox.executableDirectory() + "vornik");
    writeFile(sandbox.executableDirectory() + "vornik", "#!/bin/sh\ncp \"$1\" '" + copy + "' && : > \"$2\"\n");
    std::filesystem::permissions(sandbox.executableDirectory() + "vornik", std::filesystem::perms::owner_all);

    const std::string source = writePdf(dir, "ten.pdf", numberedPdf(10));
    StopAtPage stopper(window, stopRequested, "page 3 of 10");
    DriverContext context{stopper, queue, stopRequested, workerRunning, true, {}};
    ASSERT_TRUE(convertFile(source, dir.file("ten.doc"), context).documentWritten);

    layout::LayoutPage head;
    layout::LayoutPage *tail = &head;
    PdfPtr pdf = openPdf(source);
    for (int page = 1; page <= 4; ++page) {
        if (page <= 2) {
            PageObjectPtr object = capturePage(pdf.get(), page);
            layout::buildPageLayout(*tail, object.get(), zoomFactorFor(100));
        }
        if (page < 4) {
            tail->next = std::make_unique<layout::LayoutPage>();
            tail = tail->next.get();
        }
    }
    ASSERT_TRUE(layout::intermediate::writeIntermediateFile(head, dir.file("whole.bin")));
    EXPECT_EQ(readFile(copy), readFile(dir.file("whole.bin")));
}

TEST(FileSize, FormatsKilobytesAndMegabytes)
{
    EXPECT_EQ(formatFileSize(2048), "2048<2.00K>");
    EXPECT_EQ(formatFileSize(1048575), "1048575<1024.00K>");
    EXPECT_EQ(formatFileSize(1048576), "1048576<1.00M>");
    EXPECT_EQ(formatFileSize(1572864), "1572864<1.50M>");
    EXPECT_EQ(formatFileSize(0), "0<0.00K>");
}

TEST(ZoomFactor, IsTheRatioOver29InSinglePrecision)
{
    EXPECT_FLOAT_EQ(zoomFactorFor(100), 100.0f / 29.0f);
    EXPECT_EQ(static_cast<int>(612 * static_cast<double>(zoomFactorFor(100))), 2110);
}

} // namespace
} // namespace quarnel::convert
