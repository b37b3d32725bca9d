#pragma once
// The text blocks of one page in top-to-bottom order, and their text records.
#include "layout/layout_records.h"
#include "layout/text_block.h"

#include <cstddef>
#include <map>
#include <span>

namespace quarnel::layout {

class BlockList {
public:
    explicit BlockList(bool textBoxMode) : textBoxMode_(textBoxMode) {}

    // Orders the block by its top edge; blocks with the same top keep the order they were made
    // in. Without text boxes the document flows line by line, so a block on the same top as an
    // earlier one (the next column of a row) is appended to it after a space, and keeps the
    // earlier block's position and style.
    void place(TextBlock block);

    size_t size() const { return blocks_.size(); }

    // Writes one text record per block, top to bottom, into the front of `freeSlots` and returns
    // the slots after the last one. Without text boxes each record starts with the line feeds
    // that stand for the empty lines between it and the record above; `pageHeight` (layout
    // units) bounds them, so corrupt coordinates cannot make a huge record.
    std::span<LayoutRecord> emit(std::span<LayoutRecord> freeSlots, int32_t pageHeight) const;

private:
    bool textBoxMode_;
    std::multimap<int32_t, TextBlock> blocks_; // by top edge; O(log n) placement
};

} // namespace quarnel::layout
