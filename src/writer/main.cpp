// vornik INTERMEDIATE DESTINATION [STATUS_FD]: writes the Word document (RTF) of an intermediate
// file. Exit code 0 when the document was written, 1 for bad arguments or files that cannot be
// read or written, 2 for a damaged intermediate file.
#include "platform/code_page.h"
#include "platform/exe_path.h"
#include "platform/ini_file.h"
#include "writer/document_conversion.h"

#include <csignal>
#include <cstdio>
#include <new>

namespace {

constexpr const char *DefaultFontName = "Times New Roman";
// Font names in a font table are short; a longer value is a mistake, not a name.
constexpr size_t MaxFontNameLength = 63;

std::string configuredFontName()
{
    const std::string configPath = quarnel::platform::executableDirectory() + "config.ini";
    std::string name =
        quarnel::platform::readIniText(configPath, "Vornik", "FontName", DefaultFontName, MaxFontNameLength);
    return name.empty() ? DefaultFontName : name;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "vornik: usage: vornik INTERMEDIATE DESTINATION [STATUS_FD]\n");
        return quarnel::writer::ExitCannotWrite;
    }
    // The converter may stop reading status lines; that must not end the writer.
    std::signal(SIGPIPE, SIG_IGN);

    quarnel::writer::ConversionRequest request;
    request.intermediatePath = argv[1];
    request.destination = argv[2];
    request.statusArgument = argc == 4 ? argv[3] : nullptr;
    request.fontName = configuredFontName();
    request.codePage = quarnel::platform::activeCodePage();
    try {
        return quarnel::writer::convertDocument(request);
    } catch (const std::bad_alloc &) {
        // A page too large for this machine; the destination has not been touched.
        std::fprintf(stderr, "vornik: out of memory\n");
        return quarnel::writer::ExitCannotWrite;
    }
}
