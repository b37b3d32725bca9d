#pragma once
// One page's lines drawn as pixels for a single transparent picture: readers take thousands of
// line shapes very slowly, one picture at once.
#include "layout/layout_records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarnel::writer {

class LineRaster {
public:
    // A transparent raster of the page [0, pageWidth] × [0, pageHeight] (layout units, each at
    // least 1): one pixel per unit, about 250 dpi at zoom 100, so hairlines stay as thin as in
    // the PDF. Pages of more than MaxPixels units get proportionally fewer pixels, which bounds
    // the memory a page size from the file can ask for. Throws std::bad_alloc.
    LineRaster(int32_t pageWidth, int32_t pageHeight);

    static constexpr int64_t MaxPixels = 8'000'000; // 32 MB of RGBA

    // Draws the line's part on the page with its colour, pen width (at least one pixel, flat
    // ends) and, for pen style 1, dashes.
    void draw(const layout::ShapeRecordBody &line);

    // Whether any pixel has been drawn.
    bool inked() const { return inked_; }
    int32_t pixelWidth() const { return width_; }
    int32_t pixelHeight() const { return height_; }
    // The pixel at column x, row y as 0xAARRGGBB; 0 (transparent) outside the raster.
    uint32_t pixelAt(int32_t x, int32_t y) const;
    // The raster as an RGBA PNG; empty on failure.
    std::string encodePng() const;

private:
    struct Walk;
    void walk(const Walk &w);
    void fill(int32_t x, int32_t y, uint32_t rgba);

    int32_t pageWidth_, pageHeight_;
    int32_t width_, height_;
    double scaleX_, scaleY_;      // pixels per unit
    std::vector<uint8_t> pixels_; // rows top first, red, green, blue, alpha
    bool inked_ = false;
    // Where the last dashed line ended and how far into its dash pattern: a dashed curve comes
    // as many short lines, and restarting the pattern on each would draw it solid.
    double dashEndX_ = -1, dashEndY_ = -1, dashPhase_ = 0;
};

} // namespace quarnel::writer
