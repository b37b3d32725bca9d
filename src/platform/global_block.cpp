#include "platform/global_block.h"

#include <cstdlib>
#include <new>

namespace quarnel::platform {

struct GlobalBlock {
    std::size_t size;
    unsigned char *bytes;
};

GlobalBlockHandle allocateGlobalBlock(std::size_t size)
{
    auto *block = new (std::nothrow) GlobalBlock{size, nullptr};
    if (!block)
        return nullptr;
    block->bytes = static_cast<unsigned char *>(std::calloc(size ? size : 1, 1));
    if (!block->bytes) {
        delete block;
        return nullptr;
    }
    return block;
}

void *globalBlockData(GlobalBlockHandle block)
{
    return block ? block->bytes : nullptr;
}

std::size_t globalBlockSize(GlobalBlockHandle block)
{
    return block ? block->size : 0;
}

void freeGlobalBlock(GlobalBlockHandle block)
{
    if (!block)
        return;
    std::free(block->bytes);
    delete block;
}

} // namespace quarnel::platform
