// The exported C interface of the engine.
#include <quarnel/pdf_engine.h>

#include "capture/engine_state.h"
#include "engine_api/document_open.h"
#include "engine_api/engine_config.h"
#include "engine_api/pdf_handle.h"
#include "page_model/page_object_builder.h"
#include "platform/exe_path.h"

#include <Annot.h>
#include <Error.h>
#include <GlobalParams.h>

#include <new>

namespace quarnel::engine {
namespace {

// Engine diagnostics are not the user's business: callers learn of failures by return values.
void dropEngineDiagnostic(ErrorCategory, Goffset, const char *) {}

// Poppler's global parameters are process-wide; every open handle shares them, and they live
// from the first open until the last close, so a second handle neither leaks nor breaks the first.
void acquireEngineParams()
{
    setErrorCallback(dropEngineDiagnostic);
    if (!globalParams) {
        const std::optional<std::string> dataDirectory = resourceDataDirectory();
        globalParams = std::make_unique<GlobalParams>(dataDirectory ? dataDirectory->c_str() : nullptr);
    }
    loadEngineConfig(*globalParams);
    ++capture::engineState().openHandles;
}

void releaseEngineParams()
{
    capture::EngineState &state = capture::engineState();
    if (state.openHandles > 0 && --state.openHandles == 0)
        globalParams.reset();
}

// Only form-field widgets are drawn over the page content; other annotations are the viewer's.
bool drawWidgetsOnly(Annot *annot, void *)
{
    return annot->getType() == Annot::typeWidget;
}

// Poppler keeps every page it has displayed (its dictionaries, resources and annotations) until
// the document is closed, so memory would grow with the page count of a long document. Every so
// many pages the document is opened afresh, which drops those caches; nothing of it outlives a
// page display. When the fresh open fails, the old document simply stays.
constexpr int DisplaysBeforeRecycle = 64;

void recycleDocument(PdfHandle *handle)
{
    if (++handle->displaysSinceOpen < DisplaysBeforeRecycle)
        return;
    handle->displaysSinceOpen = 0;
    std::unique_ptr<PDFDoc> fresh = openDocument(handle->doc->getFileName()->toStr(), handle->ownerPassword.c_str(),
                                                 handle->userPassword.c_str());
    if (fresh && fresh->getNumPages() == handle->doc->getNumPages())
        handle->doc = std::move(fresh);
}

void displayPage(PdfHandle *handle, int page)
{
    handle->lastDisplayedPage = page;
    const double dpi = handle->resolution;
    handle->doc->displayPage(handle->device.get(), page, dpi, dpi, 0, /*useMediaBox=*/false, /*crop=*/true,
                             /*printing=*/false, nullptr, nullptr, drawWidgetsOnly, nullptr);
    handle->doc->processLinks(handle->device.get(), page);
    recycleDocument(handle);
}

} // namespace

bool isValidHandle(const PdfHandle *handle)
{
    return handle && handle->magic == PdfHandleMagic;
}

} // namespace quarnel::engine

using namespace quarnel;

extern "C" {

PdfHandle *PDF_Open(const char *path, const char *ownerPassword, const char *userPassword, int resolution)
{
    capture::EngineState &state = capture::engineState();
    state.exeDirectory = platform::executableDirectory();
    if (!path || !*path)
        return nullptr;

    try {
        state.currentPageObject = nullptr;
        engine::acquireEngineParams();
        auto handle = std::make_unique<PdfHandle>();
        handle->fileName = path;
        handle->resolution = resolution > 0 ? resolution : 72;
        handle->ownerPassword = ownerPassword ? ownerPassword : "";
        handle->userPassword = userPassword ? userPassword : "";
        handle->doc = engine::openDocument(handle->fileName, ownerPassword, userPassword);
        if (!handle->doc) {
            engine::releaseEngineParams();
            return nullptr;
        }
        handle->pdfVersion = engine::readHeaderVersion(handle->doc->getFileName()->toStr());
        handle->device = std::make_unique<capture::CaptureOutputDev>();
        return handle.release();
    } catch (...) {
        // Nothing may escape a C interface; a failed allocation is a failed open.
        return nullptr;
    }
}

void PDF_Close(PdfHandle *handle)
{
    if (!engine::isValidHandle(handle))
        return;
    handle->magic = 0;
    delete handle;
    capture::engineState().surface.releasePageBitmap();
    engine::releaseEngineParams();
}

int PDF_GetPageCount(PdfHandle *handle)
{
    if (!engine::isValidHandle(handle))
        return -1;
    return handle->doc->getNumPages();
}

PageObject *PDF_GetPageObject(PdfHandle *handle, int page)
{
    if (!engine::isValidHandle(handle) || page < 1 || page > handle->doc->getNumPages())
        return nullptr;
    PageObject *pageObject = nullptr;
    try {
        pageObject = page_model::createPageObject();
        pageObject->resolution = handle->resolution;
        capture::engineState().currentPageObject = pageObject;
        engine::displayPage(handle, page);
        capture::engineState().currentPageObject = nullptr;
        pageObject->width = handle->device->pageWidth();
        pageObject->height = handle->device->pageHeight();
        pageObject->pageNumber = page;
        pageObject->pageCount = handle->doc->getNumPages();
        pageObject->pdfVersion = static_cast<float>(handle->pdfVersion);
        return pageObject;
    } catch (...) {
        capture::engineState().currentPageObject = nullptr;
        page_model::destroyPageObject(pageObject);
        return nullptr;
    }
}

void PDF_DestroyPageObject(PageObject *pageObject)
{
    page_model::destroyPageObject(pageObject);
}

} // extern "C"
