#pragma once
// The join step of text block assembly: whether the next text element continues the current
// line, starts a merged line of the same block, or starts a new block.
#include "layout/text_options.h"

#include <quarnel/pdf_engine.h>

namespace quarnel::layout {

enum class JoinKind {
    ContinueLine, // next follows current on its line
    MergeLine,    // next starts the following line of the block (merge rows)
    EndBlock,     // next starts a new block
};

// `current` is the block's last character, `next` the following text element of the page and
// `blockStartX` the x of the block's first character, all in page-object pixels.
JoinKind decideJoin(const PageText &current, const PageText &next, int32_t blockStartX, const TextOptions &options);

} // namespace quarnel::layout
