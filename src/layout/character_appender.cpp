#include "layout/character_appender.h"

#include "layout/page_elements.h"

#include <algorithm>

namespace quarnel::layout {

CharacterAppender::CharacterAppender(const TextOptions &options)
    : autoSpace_(options.autoSpace), converter_(options.codePage, options.language)
{
}

void CharacterAppender::append(const PageText &character, BlockInProgress &block)
{
    if (isDuplicate(character))
        return;
    const bool spaceWanted = wantsSpaceBefore(character);
    remember(character);

    const std::string bytes = converter_.convert(unitsOf(character));
    if (autoSpace_ && spaceWanted)
        block.text += ' ';
    block.text += bytes;

    block.advanceSum += character.advance;
    const int64_t size = character.fontHeight;
    block.runningHeight = block.runningHeight == 0 ? size : (block.runningHeight + size) / 2;
}

bool CharacterAppender::isDuplicate(const PageText &character) const
{
    if (character.x != previous_.x || character.y != previous_.y)
        return false;
    const auto units = unitsOf(character);
    return std::equal(units.begin(), units.end(), previous_.text.begin(), previous_.text.end());
}

// A gap of more than 0.15 em of the previous character; the advance is taken from that
// character too, since that is where the pen stood after it. Positions and advances arrive as
// whole pixels, truncated or rounded separately, so consecutive letters of a word can sit one
// pixel apart; below 7 pixels (0.15 em under one pixel) that would split every small word, so a
// one-pixel gap never counts.
bool CharacterAppender::wantsSpaceBefore(const PageText &character) const
{
    if (previous_.size == 0)
        return false;
    const int64_t gap = int64_t{character.x} - previous_.advance - previous_.x;
    return static_cast<double>(gap) > std::max(0.15 * previous_.size, 1.0);
}

void CharacterAppender::remember(const PageText &character)
{
    previous_.x = character.x;
    previous_.y = character.y;
    previous_.advance = character.advance;
    previous_.size = character.fontHeight;
    const auto units = unitsOf(character);
    previous_.text.assign(units.begin(), units.end());
}

} // namespace quarnel::layout
