#include "layout/text_block.h"

#include "layout/zoom_scale.h"

#include <utility>

namespace quarnel::layout {

std::optional<TextBlock> makeTextBlock(BlockInProgress &&block, float zoomFactor)
{
    if (block.text.empty())
        return std::nullopt;
    const int64_t h = block.runningHeight;
    TextBlock result;
    result.x = scaleByZoom(static_cast<double>(block.startX + h / 3), zoomFactor);
    result.y = scaleByZoom(block.startY - 1.5 * static_cast<double>(h), zoomFactor);
    result.width = scaleByZoom(static_cast<double>(block.advanceSum + 10), zoomFactor);
    result.height = scaleByZoom(static_cast<double>(h), zoomFactor);
    result.color = block.color;
    result.bold = block.bold;
    result.italic = block.italic;
    result.text = std::move(block.text);
    return result;
}

} // namespace quarnel::layout
