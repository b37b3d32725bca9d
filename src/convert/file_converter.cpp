#include "convert/file_converter.h"

#include "convert/conversion_queue.h"
#include "convert/messages.h"
#include "layout/document_writer.h"
#include "layout/intermediate/intermediate_writer.h"
#include "layout/intermediate_path.h"
#include "layout/page_layout.h"
#include "platform/window_interface.h"
#include "settings/setting_keys.h"

#include <quarnel/pdf_engine.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace quarnel::convert {
namespace {

// printf with the program's own texts; the result is a UI text, not a file format.
template <typename... Args>
std::string format(const char *pattern, Args... args)
{
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

// "%.2f" independent of the user's locale.
std::string fixed2(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

struct PageRange {
    bool selected = false; // the stored range applies
    int first = 1;
    int last = 100000;
};

// Pages in the document of a PdfHandle that is closed when it goes out of scope.
struct PdfCloser {
    void operator()(PdfHandle *pdf) const { PDF_Close(pdf); }
};
using PdfPtr = std::unique_ptr<PdfHandle, PdfCloser>;

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

class FileConversion {
public:
    FileConversion(std::string source, std::string destination, DriverContext &context)
        : source_(std::move(source)), destination_(std::move(destination)), context_(context),
          window_(context.window)
    {
    }

    FileResult run();

private:
    void showFileInfo();
    void warn(const std::string &text)
    {
        if (context_.showMessages)
            window_.showMessage(text);
    }
    void showPageProgress(int page, const PageRange &range);
    bool convertPages(PdfHandle *pdf, const PageRange &range, layout::intermediate::IntermediateWriter &writer,
                      float zoomFactor);
    FileResult finish(bool documentWritten)
    {
        window_.setTitle(ApplicationTitle);
        window_.setProgress(control::FileProgress, 0);
        if (!documentWritten)
            warn(format(CannotWriteDocument, destination_.c_str()));
        return {1, documentWritten};
    }

    std::string source_;
    std::string destination_;
    DriverContext &context_;
    platform::WindowInterface &window_;
};

void FileConversion::showFileInfo()
{
    window_.setControlText(control::FileName, source_);
    struct stat info {};
    window_.setControlText(control::FileSize, ::stat(source_.c_str(), &info) == 0 ? formatFileSize(info.st_size) : "");
}

void FileConversion::showPageProgress(int page, const PageRange &range)
{
    const int jobs = static_cast<int>(context_.queue.size());
    window_.setControlText(control::FilesLeft, format("%d file(s) left.", jobs));
    if (jobs > 0) // Stop may have emptied the queue: nothing to divide by
        window_.setProgress(control::TotalProgress, 99 / jobs);
    const int count = range.last - range.first + 1;
    window_.setControlText(control::PageCounter, format("page %d of %d", page - range.first + 1, count));
    window_.setProgress(control::FileProgress, static_cast<int>(((long long)(page - range.first) * 100 + 99) / count));
}

// The page loop. Each page's layout is written as soon as the next page is known, so memory does
// not grow with the page count; the bytes are those of writing the whole list at the end. A Stop
// or shutdown ends the loop after the page in progress, and the pages so far still make a document.
bool FileConversion::convertPages(PdfHandle *pdf, const PageRange &range,
                                  layout::intermediate::IntermediateWriter &writer, float zoomFactor)
{
    auto tail = std::make_unique<layout::LayoutPage>();
    for (int page = range.first; context_.workerRunning && page <= range.last;) {
        showPageProgress(page, range);
        PageObject *pageObject = PDF_GetPageObject(pdf, page);
        if (pageObject)
            window_.setControlText(control::PdfVersion, format("%%PDF-%.1f", pageObject->pdfVersion));
        if (!context_.stopRequested && context_.workerRunning && pageObject)
            layout::buildPageLayout(*tail, pageObject, zoomFactor);
        PDF_DestroyPageObject(pageObject);

        if (page < range.last) {
            writer.writePage(*tail, /*morePagesFollow=*/true);
            tail = std::make_unique<layout::LayoutPage>();
        }
        ++page;
        if (context_.stopRequested)
            break;
        if (context_.safePoint)
            context_.safePoint();
    }
    writer.writePage(*tail, /*morePagesFollow=*/false);
    return writer.close();
}

FileResult FileConversion::run()
{
    showFileInfo();

    namespace keys = settings::keys;
    const int zoomRatio = settings::read(keys::Zoom);
    PageRange range;
    if (settings::read(keys::PageRangeType) == 1) {
        range.selected = true;
        range.first = settings::read(keys::PageFrom);
        range.last = settings::read(keys::PageTo);
        if (range.first > range.last || range.first < 0 || range.last < 0) {
            warn(PageRangeIncorrect);
            return {0, false};
        }
    }
    const float zoomFactor = zoomFactorFor(zoomRatio);

    PdfPtr pdf(PDF_Open(source_.c_str(), nullptr, nullptr, 72));
    if (!pdf) {
        warn(format(CannotExtract, source_.c_str()));
        window_.setProgress(control::FileProgress, 0);
        return {1, false};
    }
    const int pageCount = PDF_GetPageCount(pdf.get());
    if (range.selected) {
        range.first = std::max(range.first, 1);
        range.last = std::min(range.last, pageCount);
    } else {
        range.last = pageCount;
    }
    if (range.first > range.last) {
        warn(format(PageRangeBeyondDocument, source_.c_str(), pageCount));
        return {0, false};
    }

    // Writing over the source would destroy it; and a destination that cannot be created is
    // known before any page is converted.
    if (sameFile(source_, destination_))
        return finish(false);
    layout::intermediate::IntermediateWriter writer;
    const std::optional<std::string> intermediate = layout::createIntermediateFile(writer, destination_);
    if (!intermediate)
        return finish(false);
    const std::string &intermediatePath = *intermediate;

    context_.stopRequested = false;
    const bool intermediateComplete = convertPages(pdf.get(), range, writer, zoomFactor);
    pdf.reset();
    if (!intermediateComplete) {
        std::remove(intermediatePath.c_str());
        return finish(false);
    }
    const layout::DocumentResult written = layout::runDocumentWriter(intermediatePath, destination_, window_);
    return finish(written == layout::DocumentResult::Written);
}

} // namespace

std::string formatFileSize(long long bytes)
{
    if (bytes / 1024 >= 1024)
        return std::to_string(bytes) + "<" + fixed2(static_cast<double>(bytes) / 1048576) + "M>";
    return std::to_string(bytes) + "<" + fixed2(static_cast<double>(bytes) / 1024) + "K>";
}

float zoomFactorFor(int zoomRatio)
{
    return static_cast<float>(zoomRatio * (1.0 / 29.0));
}

FileResult convertFile(std::string sourcePath, std::string destinationPath, DriverContext &context)
{
    return FileConversion(std::move(sourcePath), std::move(destinationPath), context).run();
}

} // namespace quarnel::convert
