#pragma once
// The engine's process-wide state, kept in one place. The engine interface and the capture device
// run on one thread at a time (the conversion worker, or the caller of the C interface), so
// nothing here is locked.
#include <quarnel/pdf_engine.h>

#include <string>

namespace quarnel::capture {

enum class TextEndOfLine { Unix, Dos, Mac };

struct EngineState {
    // The executable's directory, ending in '/'; set by every PDF_Open.
    std::string exeDirectory;
    // The capture target: while set, the capture device records into it instead of drawing.
    PageObject *currentPageObject = nullptr;
    // Open handles sharing poppler's global parameters; the last PDF_Close destroys them.
    int openHandles = 0;
    // End-of-line kind for text export, from the engine configuration ("textEOL").
    TextEndOfLine textEndOfLine = TextEndOfLine::Dos;
};

EngineState &engineState();

} // namespace quarnel::capture
