// Checks capture against pdfimages on a folder of real PDFs: every raster image (and stencil
// mask) that `pdfimages -list` reports on a page should be an image element of that page. Prints
// the counts per document, every page where they differ, and the polygons and lines captured.
//
//   capture_images [FOLDER]      (default: ../shared/corpus/dev beside the repository)
#include "pdf_folder.h"

#include <quarnel/pdf_engine.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Images per page as pdfimages lists them (types "image" and "stencil"); false when it failed.
bool listedImages(const std::string &path, std::map<int, int> &perPage)
{
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(
        popen(("pdfimages -list " + quoted(path) + " 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe)
        return false;
    std::array<char, 512> buffer{};
    int lineNumber = 0;
    while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get())) {
        if (++lineNumber <= 2)
            continue; // heading and rule
        std::istringstream line(buffer.data());
        int page = 0, number = 0;
        std::string type;
        if (line >> page >> number >> type && (type == "image" || type == "stencil"))
            ++perPage[page];
    }
    return true;
}

struct PageCounts {
    int images = 0, polygons = 0, lines = 0;
};

PageCounts countElements(const PageObject &page)
{
    PageCounts counts;
    for (int i = 0; i < page.elementCount; ++i) {
        const int kind = page.elements[i]->kind;
        counts.images += kind == ElementImage;
        counts.polygons += kind == ElementPolygon;
        counts.lines += kind == ElementLine;
    }
    return counts;
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : "../shared/corpus/dev";
    const std::vector<std::filesystem::path> files = pdfFilesIn(folder);

    std::printf("%-22s %6s %9s %9s %9s %9s %9s\n", "file", "pages", "pdfimages", "captured", "missing", "polygons",
                "lines");
    long listedTotal = 0, capturedTotal = 0, missingTotal = 0;
    std::string differences;
    for (const auto &file : files) {
        std::map<int, int> listed;
        PdfHandle *pdf = PDF_Open(file.c_str(), nullptr, nullptr, 72);
        if (!pdf || !listedImages(file.string(), listed)) {
            std::printf("%-22s skipped (does not open everywhere)\n", file.filename().c_str());
            if (pdf)
                PDF_Close(pdf);
            continue;
        }
        const int pages = PDF_GetPageCount(pdf);
        long listedSum = 0, captured = 0, missing = 0, polygons = 0, lines = 0;
        for (int page = 1; page <= pages; ++page) {
            PageObject *object = PDF_GetPageObject(pdf, page);
            const PageCounts counts = object ? countElements(*object) : PageCounts{};
            PDF_DestroyPageObject(object);
            const int expected = listed.count(page) ? listed[page] : 0;
            listedSum += expected;
            captured += counts.images;
            polygons += counts.polygons;
            lines += counts.lines;
            missing += std::max(expected - counts.images, 0);
            if (expected != counts.images)
                differences += "  " + file.filename().string() + " page " + std::to_string(page) + ": pdfimages " +
                               std::to_string(expected) + ", captured " + std::to_string(counts.images) + "\n";
        }
        PDF_Close(pdf);
        listedTotal += listedSum, capturedTotal += captured, missingTotal += missing;
        std::printf("%-22s %6d %9ld %9ld %9ld %9ld %9ld\n", file.filename().c_str(), pages, listedSum, captured,
                    missing, polygons, lines);
    }
    std::printf("%-22s %6s %9ld %9ld %9ld\n", "total", "", listedTotal, capturedTotal, missingTotal);
    std::printf("pages where the counts differ:\n%s", differences.empty() ? "  none\n" : differences.c_str());
    return 0;
}
