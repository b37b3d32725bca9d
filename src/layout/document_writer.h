#pragma once
// Writes the Word document of a laid-out file: the pages go to an intermediate file beside the
// destination, the writer program `vornik` (beside the executable) turns that into the
// document, and the intermediate file is deleted whatever happens.
#include "layout/layout_records.h"
#include "platform/window_interface.h"

#include <string>

namespace quarnel::layout {

enum class DocumentResult {
    Written,            // the writer ended with code 0 and the document exists
    NothingToWrite,     // no pages were given
    IntermediateFailed, // the intermediate file could not be created or written completely
    WriterFailed,       // the writer could not be started, failed, or left no document
};

// Window title while the writer runs, and right after it.
inline constexpr const char *WriterRunningTitle = "Quarnel v1.4";
inline constexpr const char *WriterDoneTitle = "Naffo PDF to Word Converter";
// The page counter text, which shows the writer's status lines while it runs.
inline constexpr int StatusControlId = 1017;

// The writer program: platform::executableDirectory() + "vornik".
std::string documentWriterPath();

// Runs the writer on an intermediate file that is already complete and deletes that file
// afterwards in every case. Around the run the window is hidden and retitled, and each status
// line of the writer becomes the text of control 1017; the window is shown again afterwards.
// Blocks until the writer ends. Either Written or WriterFailed.
DocumentResult runDocumentWriter(const std::string &intermediatePath, const std::string &destination,
                                 platform::WindowInterface &window);

// Writes the whole list from `head` to a fresh intermediate file beside `destination` (never
// replacing a file of the user's, see createIntermediateFile) and runs the writer on it. A null
// head is NothingToWrite. Callers that stream pages use IntermediateWriter with
// createIntermediateFile and then runDocumentWriter instead.
DocumentResult writeLayoutDocument(const LayoutPage *head, const std::string &destination,
                                   platform::WindowInterface &window);

} // namespace quarnel::layout
