#pragma once
// The queue of files to convert. The window thread appends (command line, drops, Open) and Stop
// empties it; the worker copies the first job, converts it and removes it. One lock guards it, and
// nobody holds it while waiting for anything else.
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quarnel::convert {

struct ConversionJob {
    std::string sourcePath;
    std::string destinationPath;
};

class ConversionQueue {
public:
    void append(ConversionJob job);
    // Appends several jobs under one hold of the lock, so they stay together and in order.
    void append(std::vector<ConversionJob> jobs);
    // A copy of the first job, the one being worked on.
    std::optional<ConversionJob> first() const;
    void removeFirst();
    void clear();
    size_t size() const;
    bool empty() const { return size() == 0; }

private:
    mutable std::mutex queueLock;
    std::deque<ConversionJob> jobQueue;
};

// Destinations of the other two ways of queueing files.
// A dropped file: the same path with the extension ".doc".
ConversionJob jobForDroppedFile(const std::string &path);
// One of several files opened together: `folder`, the file's base name and ".doc".
ConversionJob jobForFileInFolder(const std::string &path, const std::string &folder);

} // namespace quarnel::convert
