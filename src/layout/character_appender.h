#pragma once
// The append step of text block assembly: adds one drawn character to the block being
// assembled, deciding whether a space goes before it.
#include "layout/character_converter.h"
#include "layout/text_block.h"
#include "layout/text_options.h"

#include <quarnel/pdf_engine.h>

#include <string>

namespace quarnel::layout {

class CharacterAppender {
public:
    explicit CharacterAppender(const TextOptions &options);

    // Appends `character` to `block`: its converted bytes, preceded by a space when automatic
    // spaces are on and it starts well right of where the previous character of the page ended
    // (also across blocks, so a block that continues a line after a gap starts with a space).
    // A character drawn again at the same spot with the same text (simulated bold) is skipped.
    void append(const PageText &character, BlockInProgress &block);

private:
    // The last character appended anywhere on the page; all zero before the first.
    struct PreviousCharacter {
        int32_t x = 0;
        int32_t y = 0;
        int32_t advance = 0;
        int32_t size = 0;
        std::u16string text;
    };

    bool isDuplicate(const PageText &character) const;
    bool wantsSpaceBefore(const PageText &character) const;
    void remember(const PageText &character);

    bool autoSpace_;
    CharacterConverter converter_;
    PreviousCharacter previous_;
};

} // namespace quarnel::layout
