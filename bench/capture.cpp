// Captures every page of every PDF in a folder and prints, measured in the same run on the same
// files, the capture time beside pdftotext and pdftoppm -r 72 (wall clock, one document at a
// time). The targets: capture no slower than pdftoppm -r 72, and at most twice pdftotext, as the
// median over documents.
//
//   capture_bench [FOLDER]      (default: ../shared/corpus/dev beside the repository)
#include "pdf_folder.h"

#include <quarnel/pdf_engine.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Seconds for a shell command, or a negative value when it failed.
double timeCommand(const std::string &command)
{
    const Clock::time_point start = Clock::now();
    const int status = std::system(command.c_str());
    return status == 0 ? secondsSince(start) : -1;
}

// Seconds to capture every page, or a negative value when the file does not open.
double timeCapture(const std::string &path, int &pages)
{
    const Clock::time_point start = Clock::now();
    PdfHandle *pdf = PDF_Open(path.c_str(), nullptr, nullptr, 72);
    if (!pdf)
        return -1;
    pages = PDF_GetPageCount(pdf);
    for (int page = 1; page <= pages; ++page)
        PDF_DestroyPageObject(PDF_GetPageObject(pdf, page));
    PDF_Close(pdf);
    return secondsSince(start);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : "../shared/corpus/dev";
    const std::vector<std::filesystem::path> files = pdfFilesIn(folder);
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "capture_bench";
    std::filesystem::create_directories(scratch);

    std::printf("%-24s %6s %10s %10s %10s %9s %9s\n", "file", "pages", "capture s", "pdftotext", "pdftoppm", "x totext",
                "x toppm");
    std::vector<double> toTextRatios, toPpmRatios;
    double captureTotal = 0, textTotal = 0, ppmTotal = 0;
    for (const auto &file : files) {
        int pages = 0;
        const double capture = timeCapture(file.string(), pages);
        const double text = timeCommand("pdftotext -q " + quoted(file.string()) + " /dev/null");
        const double ppm =
            timeCommand("pdftoppm -q -r 72 " + quoted(file.string()) + " " + quoted((scratch / "p").string()));
        std::filesystem::remove_all(scratch);
        std::filesystem::create_directories(scratch);
        if (capture < 0 || text <= 0 || ppm <= 0) {
            std::printf("%-24s skipped (does not open everywhere)\n", file.filename().c_str());
            continue;
        }
        captureTotal += capture, textTotal += text, ppmTotal += ppm;
        toTextRatios.push_back(capture / text);
        toPpmRatios.push_back(capture / ppm);
        std::printf("%-24s %6d %10.3f %10.3f %10.3f %9.2f %9.2f\n", file.filename().c_str(), pages, capture, text, ppm,
                    capture / text, capture / ppm);
    }
    std::filesystem::remove_all(scratch);
    std::printf("%-24s %6s %10.3f %10.3f %10.3f\n", "total", "", captureTotal, textTotal, ppmTotal);
    std::printf("median over %zu documents: capture / pdftotext = %.2f (target <= 2), capture / pdftoppm -r 72 = %.2f "
                "(target <= 1)\n",
                toTextRatios.size(), median(toTextRatios), median(toPpmRatios));
    return 0;
}
