#pragma once
// The engine's process-wide state, kept in one place. The engine interface and the capture device
// run on one thread at a time (the conversion worker, or the caller of the C interface), so
// nothing here is locked.
#include "capture/drawing_surface.h"
#include "capture/font_name_table.h"
#include "capture/installed_faces.h"

#include <quarnel/pdf_engine.h>

#include <set>
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
    // The page bitmap and its drawing primitives, shared by every document's device.
    DrawingSurface surface;
    // Font-name mapping from config.ini and the installed faces, each built on first use.
    FontNameTable fontNames;
    InstalledFaces installedFaces;
    // Character collections ("Adobe-Japan1") for which the engine configuration names a display
    // font; only composite fonts of these get rounded positions.
    std::set<std::string> displayFontCollections;
};

EngineState &engineState();

} // namespace quarnel::capture
