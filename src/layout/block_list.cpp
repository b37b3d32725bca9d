#include "layout/block_list.h"

#include <algorithm>
#include <utility>

namespace quarnel::layout {
namespace {

constexpr uint32_t White = 0x00FFFFFF;
// Vertical space is only a hint; more blank lines than a page of any real size holds would
// only come from corrupt coordinates.
constexpr int64_t MaxLineFeedsPerPage = 1'000'000;

int32_t recordFlags(const TextBlock &block, bool textBoxMode)
{
    int32_t flags = 0;
    if (block.bold)
        flags |= TextFlagBold;
    if (block.italic)
        flags |= TextFlagItalic;
    if (textBoxMode)
        flags |= TextFlagTextBox;
    return flags;
}

// Blank lines between the previous record's bottom and this block's top, counting a line as
// the block's height plus a third for leading.
int64_t leadingLineFeeds(const TextBlock &block, int64_t previousBottom)
{
    if (previousBottom < 1 || block.height < 1)
        return 0;
    const int64_t lineStep = int64_t{block.height} + block.height / 3;
    return std::max<int64_t>(0, (int64_t{block.y} - previousBottom) / lineStep);
}

} // namespace

void BlockList::place(TextBlock block)
{
    if (!textBoxMode_) {
        // Only one block per top edge exists in this mode, so find() is "the first such block".
        if (auto same = blocks_.find(block.y); same != blocks_.end()) {
            same->second.text += ' ';
            same->second.text += block.text;
            return;
        }
    }
    const int32_t top = block.y;
    blocks_.emplace(top, std::move(block)); // after any equal keys: creation order is kept
}

std::span<LayoutRecord> BlockList::emit(std::span<LayoutRecord> freeSlots, int32_t pageHeight) const
{
    int64_t feedBudget = std::clamp<int64_t>(pageHeight, 0, MaxLineFeedsPerPage);
    int64_t previousBottom = 0;
    size_t used = 0;
    for (const auto &[top, block] : blocks_) {
        if (used == freeSlots.size())
            break;
        TextRecordBody body;
        body.x = block.x;
        body.y = block.y;
        body.width = block.width;
        body.height = block.height;
        body.textHeight = block.height;
        body.color = static_cast<int32_t>(block.color == White ? 0 : block.color);
        body.flags = recordFlags(block, textBoxMode_);

        int64_t lineFeeds = textBoxMode_ ? 0 : std::min(leadingLineFeeds(block, previousBottom), feedBudget);
        feedBudget -= lineFeeds;
        body.text.reserve(static_cast<size_t>(lineFeeds) + block.text.size());
        body.text.append(static_cast<size_t>(lineFeeds), '\n');
        body.text += block.text;

        previousBottom = int64_t{block.y} + block.height;
        freeSlots[used].type = RecordType::Text;
        freeSlots[used].body = std::move(body);
        ++used;
    }
    return freeSlots.subspan(used);
}

} // namespace quarnel::layout
