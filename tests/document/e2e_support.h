#pragma once
// Opening vornik's documents in the real client: LibreOffice converts them to PDF or text, and
// poppler's utilities read the result.
#include <string>
#include <vector>

namespace quarnel::testing {

// Runs a shell command line, returning its standard output; exit code in *exitCode.
std::string shellOutput(const std::string &command, int *exitCode = nullptr);

// Quotes a path for the shell.
std::string shellQuote(const std::string &text);

bool haveLibreOffice();

// Converts `document` with soffice --headless --convert-to `format` into `directory`, using a
// private profile there; returns the converted file's path, or "" when soffice failed.
std::string convertWithLibreOffice(const std::string &document, const std::string &format,
                                   const std::string &directory);

// One word of `pdftotext -bbox` output: its text and box in points.
struct PdfWord {
    int page = 0; // from 1
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
std::vector<PdfWord> pdfWords(const std::string &pdf);

// Page sizes in points, from pdfinfo; one entry per page.
struct PageSize {
    double width = 0, height = 0;
};
std::vector<PageSize> pdfPageSizes(const std::string &pdf);

// A page rendered by pdftoppm as RGB pixels.
struct RenderedPage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // Darkest channel sum in a square of radius r around (x, y), in pixels: 0 is black, 765 white.
    int darkest(int x, int y, int r) const;
    // The pixel's colour as 0xRRGGBB.
    unsigned colorAt(int x, int y) const;
};
RenderedPage renderPage(const std::string &pdf, int page, int dpi, const std::string &directory);

} // namespace quarnel::testing
