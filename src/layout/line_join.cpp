#include "layout/line_join.h"

#include "layout/page_elements.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace quarnel::layout {
namespace {

// Top of the glyph box, estimated from the baseline and the em height.
int64_t topOf(const PageText &text)
{
    return int64_t{text.y} - text.fontHeight + 2;
}

bool sameStyle(const PageText &a, const PageText &b)
{
    return fontNameOf(a) == fontNameOf(b) && a.color == b.color && a.bold == b.bold && a.italic == b.italic &&
           a.fontHeight == b.fontHeight;
}

bool isRedrawOf(const PageText &current, const PageText &next)
{
    const auto units = unitsOf(current);
    const auto nextUnits = unitsOf(next);
    return next.x == current.x && next.y == current.y &&
           std::equal(units.begin(), units.end(), nextUnits.begin(), nextUnits.end());
}

} // namespace

JoinKind decideJoin(const PageText &current, const PageText &next, int32_t blockStartX, const TextOptions &options)
{
    // Rotated and vertical text is not converted, so it cannot join either.
    if (next.orientation != 0)
        return JoinKind::EndBlock;

    // The same character drawn again on the spot (simulated bold) belongs where it stands; the
    // append step drops it. Letting it end the block or start a merged line would split the word.
    if (isRedrawOf(current, next))
        return JoinKind::ContinueLine;

    const int64_t dx = int64_t{next.x} - current.x;
    const bool near = dx <= options.charSpacing && (dx > 0 || options.mergeRows);
    if (!near)
        return JoinKind::EndBlock;

    const int64_t topNext = topOf(next);
    const int64_t topCurrent = topOf(current);
    const int64_t larger = std::max(next.fontHeight, current.fontHeight);
    if (std::llabs(topNext - topCurrent) < larger && next.x > current.x)
        return JoinKind::ContinueLine;

    // A following line joins only when it looks like the same paragraph: same style, not more
    // than about a line further down, and starting exactly at the block's left edge (an indent
    // starts a new paragraph).
    if (options.mergeRows && sameStyle(current, next) && topNext < topCurrent + 2 * int64_t{current.fontHeight} &&
        next.x == blockStartX)
        return JoinKind::MergeLine;
    return JoinKind::EndBlock;
}

} // namespace quarnel::layout
