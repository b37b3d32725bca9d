#pragma once
// Owned memory blocks behind an opaque handle, the stand-in for Windows global memory: exports
// hand such blocks to callers, who give them back through the matching release function.
#include <cstddef>

namespace quarnel::platform {

struct GlobalBlock;
using GlobalBlockHandle = GlobalBlock *;

// A zero-filled block of `size` bytes, or null when it cannot be allocated.
GlobalBlockHandle allocateGlobalBlock(std::size_t size);
// The block's bytes; null for a null handle.
void *globalBlockData(GlobalBlockHandle block);
std::size_t globalBlockSize(GlobalBlockHandle block);
// Frees the block; null is ignored.
void freeGlobalBlock(GlobalBlockHandle block);

} // namespace quarnel::platform
