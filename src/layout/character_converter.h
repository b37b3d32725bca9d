#pragma once
// One drawn character (its UTF-16 code units) to the bytes that go into a block's text, in the
// code page the document is written in.
#include "platform/code_page.h"

#include <cstdint>
#include <span>
#include <string>

namespace quarnel::layout {

class CharacterConverter {
public:
    // At most this many bytes of one element reach the text; whole characters are kept, the
    // ones that do not fit are dropped. Single drawn characters never come near it.
    static constexpr size_t MaxBytes = 16;

    CharacterConverter(int codePage, int language);

    // The converted bytes, with these repairs applied to the first character:
    //   - a character the code page lacks becomes a space instead of '?';
    //   - the GB2312 curly quotes become the ASCII apostrophe and double quote, which every
    //     font has;
    //   - under the English-document language, a character whose bytes start at 0x80 or above
    //     becomes a space.
    // NUL characters are dropped, since the text is handed on as a zero-terminated string.
    std::string convert(std::span<const uint16_t> units);

private:
    platform::CodePageEncoder encoder_;
    int language_;
};

} // namespace quarnel::layout
