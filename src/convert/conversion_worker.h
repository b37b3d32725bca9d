#pragma once
// The worker thread: polls the queue every 100 ms while idle; for each job asks before
// overwriting, runs the per-file driver and removes the job; when the queue has become empty it
// reports the end. Stop empties the queue and ends the file in progress after its page; Pause
// holds the worker at safe points (between pages and jobs, never while it holds the queue lock).
#include "convert/conversion_queue.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quarnel::platform {
class WindowInterface;
}

namespace quarnel::convert {

struct WorkerOptions {
    bool exitWhenDone = false; // -q: no "Convert Finished!", the queue-drained callback ends the run
    bool noMessages = false;   // -m: the driver shows no message boxes
    bool overwrite = false;    // -r: never ask before overwriting
};

class ConversionWorker {
public:
    // Called on the worker thread when the queue has become empty under -q, with whether every
    // job since the last call produced its document; the front end ends the process there.
    using QueueDrained = std::function<void(bool allDocumentsWritten)>;

    ConversionWorker(platform::WindowInterface &window, ConversionQueue &queue, WorkerOptions options,
                     QueueDrained onQueueDrained = {});
    ~ConversionWorker(); // shuts down
    ConversionWorker(const ConversionWorker &) = delete;
    ConversionWorker &operator=(const ConversionWorker &) = delete;

    void start();
    // Clears the running flag and waits up to 5000 ms for the thread; a worker that does not end
    // by then (a writer process that never ends) is detached and left to the process's exit.
    // Returns true when the worker ended in time.
    bool shutdown();

    // Stop: ends the file in progress after its page and removes every queued job.
    void stop();
    void pause();
    void resume();
    bool paused() const;
    bool converting() const { return converting_; }

private:
    void workerLoop();
    void runJob(const ConversionJob &job);
    void showBusyState();
    void showIdleState();
    void waitWhilePaused();
    // Decides where the job's document goes; false to skip the job.
    bool confirmDestination(ConversionJob &job);

    platform::WindowInterface &window_;
    ConversionQueue &queue_;
    WorkerOptions options_;
    QueueDrained onQueueDrained_;

    std::thread workerThread_;
    std::atomic<bool> workerRunning_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> converting_{false};

    mutable std::mutex pauseLock_;
    std::condition_variable pauseChanged_;
    bool paused_ = false;
    std::mutex finishedLock_;
    std::condition_variable finished_;
    bool threadEnded_ = false;

    bool allWritten_ = true; // since the queue was last drained
    std::string lastDestination_;
    int lastResult_ = 1;
    bool lastWritten_ = false;
};

} // namespace quarnel::convert
