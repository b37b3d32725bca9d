#pragma once
// Helpers for tests that open PDFs through the engine interface.
#include "support/pdf_writer.h"
#include "support/temp_dir.h"

#include <quarnel/pdf_engine.h>

#include <memory>
#include <string>

namespace quarnel::testing {

struct PdfCloser {
    void operator()(PdfHandle *handle) const { PDF_Close(handle); }
};
using PdfPtr = std::unique_ptr<PdfHandle, PdfCloser>;

struct PageObjectDeleter {
    void operator()(PageObject *page) const { PDF_DestroyPageObject(page); }
};
using PageObjectPtr = std::unique_ptr<PageObject, PageObjectDeleter>;

inline PdfPtr openPdf(const std::string &path, int resolution = 72, const char *owner = nullptr,
                      const char *user = nullptr)
{
    return PdfPtr(PDF_Open(path.c_str(), owner, user, resolution));
}

inline PageObjectPtr capturePage(PdfHandle *pdf, int page)
{
    return PageObjectPtr(PDF_GetPageObject(pdf, page));
}

// Writes `bytes` as a PDF file in `dir` and returns its path.
inline std::string writePdf(const TempDir &dir, const std::string &name, const std::string &bytes)
{
    const std::string path = dir.file(name);
    writeFile(path, bytes);
    return path;
}

// Writes `pdfBytes` to a scratch file and captures its first page at 72 dpi; null when the
// document does not open. The page object outlives the scratch file and the handle.
inline PageObjectPtr captureFirstPage(const std::string &pdfBytes)
{
    TempDir dir;
    PdfPtr pdf = openPdf(writePdf(dir, "page.pdf", pdfBytes));
    return pdf ? capturePage(pdf.get(), 1) : PageObjectPtr();
}

// The folder of real PDFs shared with the project (outside the repository), or "" when absent.
std::string corpusDirectory();

} // namespace quarnel::testing
