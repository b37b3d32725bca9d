#pragma once
// The user's options that shape text block assembly, read from the settings store at the start
// of every page so that a change saved in the window applies from the next page on.
#include <cstdint>

namespace quarnel::layout {

inline constexpr int LanguageAuto = 0;
inline constexpr int LanguageEnglish = 1; // bytes 0x80 and above become spaces

struct TextOptions {
    int32_t charSpacing = 100;     // largest x step, in pixels, between joined characters; 0: none join
    bool textBoxMode = false;      // every block its own positioned record
    bool autoSpace = true;         // a wide gap before a character becomes a space
    bool mergeRows = false;        // following lines at the same left edge join the block
    bool deleteLineBreaks = false; // merged lines are joined by a space instead of a line feed
    int language = LanguageAuto;
    int codePage = 1252; // the code page the record text is written in
};

// Reads the options. Merging rows is a text-box feature (without text boxes the blocks of a row
// are joined and flowed with line feeds instead), and deleting line breaks only means something
// when rows are merged, so each is forced off without the other.
TextOptions readTextOptions(int codePage);

} // namespace quarnel::layout
