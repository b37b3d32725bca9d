#include "convert/conversion_worker.h"
#include "settings/setting_keys.h"
#include "support/engine_fixture.h"
#include "support/recording_window.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

namespace quarnel::convert {
namespace {

using namespace quarnel::testing;
using namespace std::chrono_literals;
using platform::Answer;

std::string onePage(const std::string &word)
{
    return simplePdf("BT /F1 24 Tf 72 700 Td (" + word + ") Tj ET");
}

// Runs a worker until its queue drains (the -q path reports it through the callback).
class Worker : public ::testing::Test {
protected:
    void SetUp() override { sandbox.installWriter(); }
    bool runUntilDrained(WorkerOptions options)
    {
        std::promise<bool> drained;
        std::once_flag once;
        ConversionWorker worker(window, queue, options, [&](bool allWritten) {
            std::call_once(once, [&] { drained.set_value(allWritten); });
        });
        worker.start();
        std::future<bool> result = drained.get_future();
        EXPECT_EQ(result.wait_for(60s), std::future_status::ready);
        const bool allWritten = result.get();
        EXPECT_TRUE(worker.shutdown());
        return allWritten;
    }
    size_t count(const std::string &call) const
    {
        const std::vector<std::string> calls = window.calls();
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }

    SettingsSandbox sandbox;
    TempDir dir;
    RecordingWindow window;
    ConversionQueue queue;
};

TEST_F(Worker, DroppedFilesAreConvertedInOrderWithOneFinishedMessage)
{
    std::vector<std::string> sources;
    for (const char *name : {"a", "b", "c"})
        sources.push_back(writePdf(dir, std::string(name) + ".pdf", onePage(name)));
    queue.append(std::vector<ConversionJob>{jobForDroppedFile(sources[0]), jobForDroppedFile(sources[1]),
                                           jobForDroppedFile(sources[2])});

    EXPECT_TRUE(runUntilDrained({}));
    EXPECT_EQ(count("message Convert Finished!"), 1u);
    std::vector<std::string> order;
    for (const std::string &call : window.calls())
        if (call.rfind("text 1012 /", 0) == 0)
            order.push_back(call.substr(10));
    EXPECT_EQ(order, sources);
    for (const char *name : {"a", "b", "c"})
        EXPECT_TRUE(fileExists(dir.file(std::string(name) + ".doc")));
}

TEST_F(Worker, OverwriteAnswersDecideWhereTheDocumentGoes)
{
    struct Case {
        std::vector<Answer> answers;
        std::optional<std::string> savePath;
        bool destinationReplaced;
        bool chosenWritten;
    };
    const Case cases[] = {
        {{Answer::Yes}, std::nullopt, true, false},
        {{Answer::No}, dir.file("chosen.doc"), false, true},
        {{Answer::No}, std::nullopt, false, false}, // save dialog cancelled: skipped
        {{Answer::Cancel}, std::nullopt, false, false},
    };
    const std::string source = writePdf(dir, "a.pdf", onePage("fresh"));
    for (const Case &c : cases) {
        writeFile(dir.file("a.doc"), "the user's own document");
        std::filesystem::remove(dir.file("chosen.doc"));
        window.clear();
        for (Answer answer : c.answers)
            window.scriptAnswers({answer});
        window.scriptSavePath(c.savePath);
        queue.append(jobForDroppedFile(source));
        const bool allWritten = runUntilDrained({});

        EXPECT_EQ(count("ask " + dir.file("a.doc") + " already exists. Overwrite it? Select Cancel to skip the file."),
                  1u);
        EXPECT_EQ(readFile(dir.file("a.doc")) != "the user's own document", c.destinationReplaced);
        EXPECT_EQ(fileExists(dir.file("chosen.doc")), c.chosenWritten);
        EXPECT_EQ(allWritten, c.destinationReplaced || c.chosenWritten);
    }
}

TEST_F(Worker, OverwriteFlagNeverAsks)
{
    const std::string source = writePdf(dir, "a.pdf", onePage("fresh"));
    writeFile(dir.file("a.doc"), "old");
    queue.append(jobForDroppedFile(source));
    EXPECT_TRUE(runUntilDrained({.exitWhenDone = true, .noMessages = true, .overwrite = true}));
    EXPECT_NE(readFile(dir.file("a.doc")), "old");
    for (const std::string &call : window.calls())
        EXPECT_NE(call.rfind("ask", 0), 0u) << call;
}

TEST_F(Worker, ExitWhenDoneReportsWhetherEveryDocumentWasWritten)
{
    const std::string good1 = writePdf(dir, "g1.pdf", onePage("one"));
    const std::string good2 = writePdf(dir, "g2.pdf", onePage("two"));
    queue.append(std::vector<ConversionJob>{jobForDroppedFile(good1), jobForDroppedFile(good2)});
    EXPECT_TRUE(runUntilDrained({.exitWhenDone = true, .noMessages = true}));
    EXPECT_EQ(count("message Convert Finished!"), 0u);

    queue.append(std::vector<ConversionJob>{jobForDroppedFile(good1), jobForDroppedFile(dir.file("missing.pdf"))});
    EXPECT_FALSE(runUntilDrained({.exitWhenDone = true, .noMessages = true, .overwrite = true}));
}

TEST_F(Worker, PreviewOpensOnlyAWrittenDocument)
{
    settings::write(settings::keys::PreviewAfterConvert, 1);
    const std::string source = writePdf(dir, "a.pdf", onePage("shown"));
    queue.append(jobForDroppedFile(source));
    runUntilDrained({});
    EXPECT_EQ(count("open " + dir.file("a.doc")), 1u);

    window.clear();
    queue.append(jobForDroppedFile(dir.file("missing.pdf")));
    runUntilDrained({});
    EXPECT_EQ(count("open " + dir.file("missing.doc")), 0u);
}

TEST_F(Worker, PauseHoldsTheWorkerWhileAppendsStillWork)
{
    PdfWriter writer;
    const int font = writer.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (int i = 0; i < 200; ++i)
        writer.addPage("BT /F1 24 Tf 72 700 Td (long) Tj ET", "<< /Font << /F1 " + ref(font) + " >> >>");
    const std::string longPdf = writePdf(dir, "long.pdf", writer.finish());
    const std::string shortPdf = writePdf(dir, "short.pdf", onePage("short"));

    std::promise<bool> drained;
    std::once_flag once;
    ConversionWorker worker(window, queue, {.exitWhenDone = true, .noMessages = true},
                            [&](bool ok) { std::call_once(once, [&] { drained.set_value(ok); }); });
    queue.append(jobForDroppedFile(longPdf));
    worker.start();
    while (!worker.converting())
        std::this_thread::sleep_for(1ms);
    worker.pause();
    EXPECT_TRUE(worker.paused());
    queue.append(jobForDroppedFile(shortPdf)); // the window thread can still append
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(fileExists(dir.file("long.doc"))); // held
    EXPECT_EQ(queue.size(), 2u);
    worker.resume();
    std::future<bool> result = drained.get_future();
    ASSERT_EQ(result.wait_for(60s), std::future_status::ready);
    EXPECT_TRUE(result.get());
    EXPECT_TRUE(fileExists(dir.file("long.doc")));
    EXPECT_TRUE(fileExists(dir.file("short.doc")));
    EXPECT_EQ(count("button 1024 Resume enabled"), 1u);
}

TEST_F(Worker, StopEmptiesTheQueueAndIdleShutdownIsQuick)
{
    ConversionWorker worker(window, queue, {});
    worker.start();
    std::this_thread::sleep_for(250ms);
    EXPECT_GE(count("button 8 Close enabled"), 1u); // idle state applied while polling
    queue.append(std::vector<ConversionJob>{{"x.pdf", "x.doc"}, {"y.pdf", "y.doc"}});
    worker.stop();
    EXPECT_TRUE(queue.empty());
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.shutdown());
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
}

} // namespace
} // namespace quarnel::convert
