#include "convert/conversion_worker.h"

#include "convert/file_converter.h"
#include "convert/messages.h"
#include "platform/window_interface.h"
#include "settings/setting_keys.h"

#include <chrono>
#include <sys/stat.h>

namespace quarnel::convert {
namespace {

bool fileExists(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

ConversionWorker::ConversionWorker(platform::WindowInterface &window, ConversionQueue &queue, WorkerOptions options,
                                   QueueDrained onQueueDrained)
    : window_(window), queue_(queue), options_(options), onQueueDrained_(std::move(onQueueDrained))
{
}

ConversionWorker::~ConversionWorker()
{
    shutdown();
}

void ConversionWorker::start()
{
    workerRunning_ = true;
    threadEnded_ = false;
    workerThread_ = std::thread([this] {
        workerLoop();
        std::lock_guard lock(finishedLock_);
        threadEnded_ = true;
        finished_.notify_all();
    });
}

bool ConversionWorker::shutdown()
{
    if (!workerThread_.joinable())
        return true;
    {
        // Wakes a paused worker and one in its idle sleep, so it reaches a check of the flag.
        std::lock_guard lock(pauseLock_);
        workerRunning_ = false;
        pauseChanged_.notify_all();
    }
    resume();
    std::unique_lock lock(finishedLock_);
    const bool ended = finished_.wait_for(lock, std::chrono::milliseconds(5000), [this] { return threadEnded_; });
    lock.unlock();
    if (ended)
        workerThread_.join();
    else
        workerThread_.detach(); // the process ends without waiting for it, as the window is gone
    return ended;
}

void ConversionWorker::stop()
{
    stopRequested_ = true;
    queue_.clear();
}

void ConversionWorker::pause()
{
    if (!converting_)
        return;
    {
        std::lock_guard lock(pauseLock_);
        paused_ = true;
    }
    // The window is told outside the lock: a window call may wait for the window's own thread.
    window_.setButton(control::PauseButton, "Resume", true);
    window_.setButton(control::CloseStopButton, "Stop", false);
}

void ConversionWorker::resume()
{
    {
        std::lock_guard lock(pauseLock_);
        if (!paused_)
            return;
        paused_ = false;
        pauseChanged_.notify_all();
    }
    window_.setButton(control::PauseButton, "Pause", true);
    window_.setButton(control::CloseStopButton, "Stop", true);
}

bool ConversionWorker::paused() const
{
    std::lock_guard lock(pauseLock_);
    return paused_;
}

void ConversionWorker::waitWhilePaused()
{
    std::unique_lock lock(pauseLock_);
    pauseChanged_.wait(lock, [this] { return !paused_ || !workerRunning_; });
}

void ConversionWorker::showBusyState()
{
    window_.setButton(control::CloseStopButton, "Stop", true);
    converting_ = true;
    window_.setButton(control::PauseButton, "Pause", true);
    window_.setButton(control::OpenButton, "&Open...", false);
    window_.setButton(control::OptionsButton, "&Options...", false);
}

void ConversionWorker::showIdleState()
{
    window_.setButton(control::CloseStopButton, "Close", true);
    converting_ = false;
    window_.setButton(control::PauseButton, "Pause", false);
    window_.setButton(control::OpenButton, "&Open...", true);
    window_.setButton(control::OptionsButton, "&Options...", true);
    window_.setProgress(control::TotalProgress, 0);
    for (int id : {control::FileName, control::PageCounter, control::FilesLeft, control::FileSize, control::PdfVersion})
        window_.setControlText(id, "");
}

bool ConversionWorker::confirmDestination(ConversionJob &job)
{
    if (options_.overwrite || !fileExists(job.destinationPath))
        return true;
    switch (window_.ask(job.destinationPath + OverwriteQuestion)) {
    case platform::Answer::Yes:
        return true;
    case platform::Answer::No:
        // Cancelling the save dialog too skips the file: the user said No to overwriting it.
        if (std::optional<std::string> chosen = window_.askSavePath(job.destinationPath)) {
            job.destinationPath = *chosen;
            lastDestination_ = *chosen;
            return true;
        }
        return false;
    case platform::Answer::Cancel:
        return false;
    }
    return false;
}

void ConversionWorker::runJob(const ConversionJob &queued)
{
    ConversionJob job = queued; // the window thread may change the queue meanwhile
    lastDestination_ = job.destinationPath;
    lastResult_ = 1;
    lastWritten_ = false;
    if (confirmDestination(job)) {
        DriverContext context{window_, queue_, stopRequested_, workerRunning_, !options_.noMessages,
                              [this] { waitWhilePaused(); }};
        const FileResult result = convertFile(job.sourcePath, job.destinationPath, context);
        lastResult_ = result.result;
        lastWritten_ = result.documentWritten;
        allWritten_ = allWritten_ && result.documentWritten;
    } else {
        allWritten_ = false; // a skipped file produced no document
    }
    queue_.removeFirst();
}

void ConversionWorker::workerLoop()
{
    while (workerRunning_) {
        if (std::optional<ConversionJob> job = queue_.first()) {
            showBusyState();
            runJob(*job);
            if (queue_.empty()) {
                const bool allWritten = allWritten_;
                allWritten_ = true;
                if (options_.exitWhenDone) {
                    if (onQueueDrained_)
                        onQueueDrained_(allWritten);
                } else {
                    window_.showMessage(ConvertFinished);
                    if (queue_.empty() && settings::read(settings::keys::PreviewAfterConvert) != 0 &&
                        lastResult_ != 0 && lastWritten_)
                        window_.openDocument(lastDestination_);
                    if (onQueueDrained_)
                        onQueueDrained_(allWritten);
                }
            }
            waitWhilePaused();
            continue;
        }
        showIdleState();
        waitWhilePaused();
        std::unique_lock lock(pauseLock_);
        pauseChanged_.wait_for(lock, std::chrono::milliseconds(100), [this] { return !workerRunning_; });
    }
}

} // namespace quarnel::convert
