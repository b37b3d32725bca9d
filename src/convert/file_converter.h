#pragma once
// Converts one PDF file into one Word document: shows the file's name, size and version, reads
// the zoom and page range, captures and lays out each page of the range, streams the layout to the
// intermediate file and runs the document writer on it.
#include <atomic>
#include <functional>
#include <string>

namespace quarnel::platform {
class WindowInterface;
}

namespace quarnel::convert {

class ConversionQueue;

struct DriverContext {
    platform::WindowInterface &window;
    const ConversionQueue &queue;        // its size is the "file(s) left" count
    std::atomic<bool> &stopRequested;    // cleared at the start of each file; ends it after the page
    const std::atomic<bool> &workerRunning;
    bool showMessages = true;            // false under -m
    std::function<void()> safePoint;     // called between pages; holds the worker while paused
};

struct FileResult {
    // 1 when the file was processed (also when it could not be opened), 0 when the page range was
    // rejected.
    int result = 1;
    bool documentWritten = false;
};

FileResult convertFile(std::string sourcePath, std::string destinationPath, DriverContext &context);

// "%d<%.2fK>" or "%d<%.2fM>" for a file size in bytes.
std::string formatFileSize(long long bytes);

// The zoom ratio as the layout's scale factor: ratio / 29 in double precision, kept as a float.
float zoomFactorFor(int zoomRatio);

} // namespace quarnel::convert
