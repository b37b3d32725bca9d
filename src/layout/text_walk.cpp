#include "layout/text_walk.h"

#include "layout/character_appender.h"
#include "layout/line_join.h"
#include "layout/page_elements.h"

#include <utility>

namespace quarnel::layout {
namespace {

using Elements = std::span<PageElement *const>;

// Index of the first text element after `index`, or elements.size().
size_t nextTextIndex(Elements elements, size_t index)
{
    for (size_t i = index + 1; i < elements.size(); ++i)
        if (textBodyOf(elements[i]))
            return i;
    return elements.size();
}

BlockInProgress startBlock(const PageText &first)
{
    BlockInProgress block;
    block.startX = first.x;
    block.startY = first.y;
    block.color = first.color;
    block.bold = first.bold != 0;
    block.italic = first.italic != 0;
    return block;
}

// Assembles the block that starts at `index` and returns the index the walk resumes at.
size_t assembleBlock(Elements elements, size_t index, const TextOptions &options, CharacterAppender &appender,
                     float zoomFactor, BlockList &blocks)
{
    const PageText *current = textBodyOf(elements[index]);
    BlockInProgress block = startBlock(*current);
    size_t resume = elements.size();
    for (;;) {
        appender.append(*current, block);
        if (options.charSpacing == 0) {
            resume = index + 1;
            break;
        }
        const size_t nextIndex = nextTextIndex(elements, index);
        if (nextIndex == elements.size())
            break;
        const PageText &next = *textBodyOf(elements[nextIndex]);
        const JoinKind join = decideJoin(*current, next, block.startX, options);
        if (join == JoinKind::EndBlock) {
            resume = nextIndex;
            break;
        }
        if (join == JoinKind::MergeLine) {
            block.text += options.deleteLineBreaks ? ' ' : '\n';
            block.runningHeight += current->fontHeight;
        }
        index = nextIndex;
        current = &next;
    }
    if (auto finished = makeTextBlock(std::move(block), zoomFactor))
        blocks.place(std::move(*finished));
    return resume;
}

} // namespace

void walkTextElements(const PageObject &pageObject, float zoomFactor, const TextOptions &options, BlockList &blocks)
{
    const Elements elements = elementsOf(pageObject);
    CharacterAppender appender(options);
    size_t index = 0;
    while (index < elements.size()) {
        const PageText *text = textBodyOf(elements[index]);
        if (!text || text->orientation != 0) {
            ++index;
            continue;
        }
        index = assembleBlock(elements, index, options, appender, zoomFactor, blocks);
    }
}

} // namespace quarnel::layout
