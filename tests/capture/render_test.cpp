// Pages drawn into the page bitmap (no capture target) against pdftoppm -r 72: the faces differ,
// so the comparison is of ink positions on a coarse grid, not of pixels.
#include "capture/engine_state.h"
#include "engine_api/pdf_handle.h"
#include "support/engine_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <vector>

namespace quarnel::testing {
namespace {

constexpr int cell = 3; // pixels per grid cell: with the neighbours, positions agree within 6 pixels

struct InkGrid {
    int columns = 0, rows = 0;
    std::vector<bool> inked;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < columns && y < rows && inked[y * columns + x]; }
};

InkGrid gridOf(int width, int height, const std::function<int(int, int)> &grey)
{
    InkGrid grid;
    grid.columns = (width + cell - 1) / cell;
    grid.rows = (height + cell - 1) / cell;
    grid.inked.assign(static_cast<size_t>(grid.columns) * grid.rows, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (grey(x, y) < 128)
                grid.inked[(y / cell) * grid.columns + x / cell] = true;
    return grid;
}

// The page as drawn by the capture device into the page bitmap.
InkGrid drawnPage(const std::string &path, int page)
{
    PdfPtr pdf = openPdf(path);
    if (!pdf)
        return {};
    capture::engineState().currentPageObject = nullptr;
    pdf->doc->displayPage(pdf->device.get(), page, 72, 72, 0, false, true, false);
    const capture::DrawingSurface &surface = capture::engineState().surface;
    return gridOf(surface.width(), surface.height(), [&](int x, int y) {
        const uint32_t c = surface.pixel(x, y);
        return static_cast<int>(((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF)) / 3);
    });
}

// The page as pdftoppm -r 72 -gray renders it, or nothing when pdftoppm is missing.
std::optional<InkGrid> popplerPage(const TempDir &dir, const std::string &path, int page)
{
    const std::string prefix = dir.file("ref");
    const std::string command = "pdftoppm -q -r 72 -gray -singlefile -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " '" + path + "' '" + prefix + "'";
    if (std::system(command.c_str()) != 0)
        return std::nullopt;
    std::ifstream in(prefix + ".pgm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (magic != "P5" || width <= 0 || height <= 0)
        return std::nullopt;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height);
    in.read(reinterpret_cast<char *>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return gridOf(width, height, [&](int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; });
}

// Share of the cells inked in `a` that have ink in `b` within one cell.
double coveredShare(const InkGrid &a, const InkGrid &b)
{
    long inked = 0, covered = 0;
    for (int y = 0; y < a.rows; ++y)
        for (int x = 0; x < a.columns; ++x) {
            if (!a.at(x, y))
                continue;
            ++inked;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = b.at(x + dx, y + dy);
            covered += near;
        }
    return inked ? static_cast<double>(covered) / inked : 0;
}

TEST(PageRendering, TextLandsWherePdftoppmDrawsIt)
{
    TempDir dir;
    const std::string content = "BT /F1 24 Tf 40 700 Td (Capture renders text) Tj ET "
                                "BT /F1 12 Tf 300 400 Td (at the positions poppler gives) Tj ET "
                                "BT /F1 18 Tf 0 1 -1 0 100 100 Tm (turned by ninety degrees) Tj ET "
                                "BT 1 0 0 rg 2 Tr 0 0 1 RG /F1 30 Tf 60 200 Td (Outlined) Tj ET";
    const std::string path = writePdf(dir, "text.pdf", simplePdf(content));
    const std::optional<InkGrid> reference = popplerPage(dir, path, 1);
    if (!reference)
        GTEST_SKIP() << "pdftoppm is not available";
    const InkGrid drawn = drawnPage(path, 1);
    ASSERT_EQ(drawn.columns, reference->columns);
    ASSERT_EQ(drawn.rows, reference->rows);
    EXPECT_GT(coveredShare(drawn, *reference), 0.9);
    EXPECT_GT(coveredShare(*reference, drawn), 0.9);
}

TEST(PageRendering, HugeAndDegenerateFontsDrawWithoutTrouble)
{
    TempDir dir;
    const std::string content =
        "BT /F1 1e30 Tf 100 700 Td (A) Tj ET BT /F1 12 Tf 0 0 0 0 100 700 Tm (B) Tj ET "
        "BT /F1 100000 Tf 0.001 0 0 0.001 100 700 Tm (C) Tj ET BT 5 Tr /F1 40 Tf 9 9 Td (D) Tj ET";
    const InkGrid drawn = drawnPage(writePdf(dir, "huge.pdf", simplePdf(content)), 1);
    EXPECT_EQ(drawn.columns, 204);
}

TEST(PageRendering, RealPagesDrawTheirTextWherePdftoppmHasInk)
{
    const std::string corpus = corpusDirectory();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus of real PDFs beside the project";
    TempDir dir;
    for (const char *file : {"history-en.pdf", "scotus.pdf", "nics-rotated.pdf"}) {
        const std::optional<InkGrid> reference = popplerPage(dir, corpus + file, 1);
        if (!reference)
            GTEST_SKIP() << "pdftoppm is not available";
        const InkGrid drawn = drawnPage(corpus + file, 1);
        // Only text is drawn so far: what is drawn must lie on poppler's ink.
        EXPECT_GT(coveredShare(drawn, *reference), 0.9) << file;
    }
}

} // namespace
} // namespace quarnel::testing
