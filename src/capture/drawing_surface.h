#pragma once
// The page bitmap and the drawing primitives of the capture device, on cairo. Every primitive
// first looks at the capture target (engineState().currentPageObject): while it is set, the
// primitive appends its page element and draws nothing; otherwise it draws into the page bitmap.
//
// Coordinates are device pixels, origin top-left, y down; colours are 0x00BBGGRR. Clip regions
// are exchanged as Windows region data blocks (a 32-byte header, then left/top/right/bottom
// rectangles that exclude their right and bottom edges).
#include "capture/font_factory.h"
#include "platform/global_block.h"

#include <quarnel/pdf_engine.h>

#include <cstdint>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace quarnel::capture {

struct ClipRectangle {
    int32_t left, top, right, bottom;
};

// A region data block holding one rectangle (none when it is empty).
std::vector<uint8_t> rectangleRegionData(int32_t left, int32_t top, int32_t right, int32_t bottom);
// The rectangles of a region data block; malformed blocks give the rectangles that fit.
std::vector<ClipRectangle> regionRectangles(const std::vector<uint8_t> &regionData);

// One character for drawText: the recorder's values before the vertical-face rules.
struct TextRun {
    int32_t x = 0, y = 0;
    std::u16string text;
    std::string faceName;     // as selected for the font's name
    std::string fallbackFace; // used when the selected face cannot be created
    int32_t advance = 0;
    int32_t height = 0;
    int32_t bold = 0;   // 0, 1 or 262144
    int32_t italic = 0; // 0, 1 or 64
    uint32_t fillColor = 0;
    uint32_t strokeColor = 0;
    int renderMode = 0;
    double angleDegrees = 0;
    bool vertical = false;
    uint8_t charSet = 1;
};

class DrawingSurface {
public:
    DrawingSurface() = default;
    ~DrawingSurface();
    DrawingSurface(const DrawingSurface &) = delete;
    DrawingSurface &operator=(const DrawingSurface &) = delete;

    // Replaces nothing: call releasePageBitmap first. False for a bit count other than 1, 4, 8,
    // 16, 24 or 32, a zero or negative size, or a bitmap too large to allocate safely.
    bool createPageBitmap(int32_t width, int32_t height, int bitCount);
    void releasePageBitmap();
    bool hasBitmap() const { return surface_ != nullptr; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    void fillPage(uint32_t color);
    // The bitmap as a packed device-independent bitmap in a global block the caller frees with
    // platform::freeGlobalBlock: the 40-byte header, its colour table (none for 24 bits), then
    // bottom-up rows padded to 4 bytes. Null without a bitmap or when allocation fails.
    platform::GlobalBlockHandle packedBitmap() const;
    // The colour of one pixel (0x00BBGGRR), for checks; 0 outside the bitmap.
    uint32_t pixel(int32_t x, int32_t y) const;

    // The clip of the drawing primitives; null removes it. Recording ignores it.
    void setDrawingClip(const std::vector<uint8_t> *regionData);

    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, uint32_t color, int32_t style);
    void fillPolygon(const PagePoint *points, int32_t count, int32_t fillRule, uint32_t color);
    // Applies the vertical-face rules, creates the font (falling back to the run's fallback
    // face) and records or draws. False when no font could be created: nothing happened.
    bool drawText(const TextRun &run);
    void putImage(int bitCount, uint32_t color, int32_t srcWidth, int32_t srcHeight, const uint8_t *pixels,
                  int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight);
    // Records the region (null: a region element without body); draws nothing.
    void setClipRegion(const std::vector<uint8_t> *regionData);

    FontFactory &fonts() { return fonts_; }

private:
    cairo_t *beginDrawing() const; // null without a bitmap; clip applied
    void endDrawing(cairo_t *cr) const;
    void drawGlyphs(const TextRun &run, const PlatformFont &font, int32_t x, int32_t y, int32_t orientation,
                    const LogicalFont &request) const;
    void fillHeader(int bitCount);

    cairo_surface_t *surface_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    BitmapInfoHeader header_{};
    std::vector<uint8_t> colorTable_;
    std::vector<ClipRectangle> clip_;
    bool clipSet_ = false;
    FontFactory fonts_;
};

} // namespace quarnel::capture
