#pragma once
// The walk of text block assembly: strings the page's text elements together into blocks, in
// element order, and places each finished block in the page's block list.
#include "layout/block_list.h"
#include "layout/text_options.h"

#include <quarnel/pdf_engine.h>

namespace quarnel::layout {

// Each text element is visited once as a block start or a joined character; an element that
// ends a block is visited once more as the next block's start. Rotated text makes no block.
void walkTextElements(const PageObject &pageObject, float zoomFactor, const TextOptions &options, BlockList &blocks);

} // namespace quarnel::layout
