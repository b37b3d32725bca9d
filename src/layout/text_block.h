#pragma once
// A text block: a run of characters on one line, or several merged lines, on its way from the
// page object's characters (pixels) to a text record (layout units).
#include <cstdint>
#include <optional>
#include <string>

namespace quarnel::layout {

// A finished block, in layout units, ready to be placed among the page's blocks.
struct TextBlock {
    int32_t x = 0;
    int32_t y = 0; // top edge; blocks are ordered by it
    int32_t width = 0;
    int32_t height = 0;
    uint32_t color = 0; // 0x00BBGGRR of the block's first character
    bool bold = false;
    bool italic = false;
    std::string text; // code page bytes; 0x0A between merged lines
};

// A block being assembled, in page-object pixels. The sums are 64-bit so that corrupt sizes and
// advances cannot overflow them.
struct BlockInProgress {
    int32_t startX = 0; // origin of the first character
    int32_t startY = 0; // its baseline
    uint32_t color = 0;
    bool bold = false;
    bool italic = false;
    std::string text;
    int64_t advanceSum = 0;
    int64_t runningHeight = 0; // average size of the characters, plus one size per merged line
};

// The block's geometry: its left edge moved in by a third of its height, its top 1.5 heights
// above the first baseline, its width the advances plus a small margin. No block for empty text
// (a run made only of duplicates).
std::optional<TextBlock> makeTextBlock(BlockInProgress &&block, float zoomFactor);

} // namespace quarnel::layout
