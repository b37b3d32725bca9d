#pragma once
// The engine handle behind the opaque PdfHandle of the C interface.
#include "capture/capture_output_dev.h"

#include <PDFDoc.h>

#include <cstdint>
#include <memory>
#include <string>

inline constexpr uint32_t PdfHandleMagic = 0x3FB33333; // the bit pattern of the float 1.4

struct PdfHandle {
    uint32_t magic = PdfHandleMagic; // first, so that any block can be checked for it
    char dateTag[16] = "20020108";
    std::unique_ptr<PDFDoc> doc;
    std::string fileName;
    std::string ownerPassword; // kept to reopen the document; empty for none
    std::string userPassword;
    int resolution = 72;
    std::unique_ptr<quarnel::capture::CaptureOutputDev> device;
    double pdfVersion = 0;       // from the file header; 0 when the file has none
    int lastDisplayedPage = -1;  // the page of the last display, for the exports that need it
    int displaysSinceOpen = 0;   // see recycleDocument in pdf_engine.cpp
};

namespace quarnel::engine {

// True for a non-null block whose first word is the handle magic.
bool isValidHandle(const PdfHandle *handle);

} // namespace quarnel::engine
