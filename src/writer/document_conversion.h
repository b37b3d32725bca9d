#pragma once
// vornik's work: the intermediate file in, the RTF document out.
#include <string>

namespace quarnel::writer {

inline constexpr int ExitWritten = 0;
inline constexpr int ExitCannotWrite = 1; // bad arguments, unreadable input, unwritable output
inline constexpr int ExitBadInput = 2;    // the intermediate file is damaged

struct ConversionRequest {
    std::string intermediatePath;
    std::string destination;
    const char *statusArgument = nullptr; // the status descriptor's number, or null
    std::string fontName;                 // in the active code page
    int codePage = 0;
};

// Reads the intermediate file twice (once for the colours and the page count, once to write),
// one page at a time, and writes the document atomically. Reports a failure as one line on
// standard error that starts with "vornik: ". Returns one of the exit codes above.
int convertDocument(const ConversionRequest &request);

} // namespace quarnel::writer
