#include "layout/document_writer.h"

#include "layout/intermediate/intermediate_writer.h"
#include "layout/intermediate_path.h"
#include "layout/process_runner.h"
#include "platform/exe_path.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quarnel::layout {
namespace {

bool isRegularFile(const std::string &path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

std::string documentWriterPath()
{
    return platform::executableDirectory() + "vornik";
}

DocumentResult runDocumentWriter(const std::string &intermediatePath, const std::string &destination,
                                 platform::WindowInterface &window)
{
    window.setTitle(WriterRunningTitle);
    window.setVisible(false);
    const int exitCode = runProcess({documentWriterPath(), intermediatePath, destination},
                                    [&window](const std::string &line) { window.setControlText(StatusControlId, line); });
    window.setTitle(WriterDoneTitle);
    window.setVisible(true);
    ::unlink(intermediatePath.c_str());
    // vornik replaces the destination only when it has written it completely, so an exit code of
    // 0 and a file at the destination mean the document is there.
    return exitCode == 0 && isRegularFile(destination) ? DocumentResult::Written : DocumentResult::WriterFailed;
}

DocumentResult writeLayoutDocument(const LayoutPage *head, const std::string &destination,
                                   platform::WindowInterface &window)
{
    if (!head)
        return DocumentResult::NothingToWrite;
    intermediate::IntermediateWriter writer;
    const std::optional<std::string> intermediatePath = createIntermediateFile(writer, destination);
    if (!intermediatePath)
        return DocumentResult::IntermediateFailed;
    for (const LayoutPage *page = head; page; page = page->next.get())
        writer.writePage(*page, page->next != nullptr);
    if (!writer.close()) {
        ::unlink(intermediatePath->c_str());
        return DocumentResult::IntermediateFailed;
    }
    return runDocumentWriter(*intermediatePath, destination, window);
}

} // namespace quarnel::layout
