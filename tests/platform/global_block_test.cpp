#include "platform/global_block.h"

#include <gtest/gtest.h>

namespace quarnel::platform {
namespace {

TEST(GlobalBlock, AllocatesZeroedBytesBehindAHandle)
{
    GlobalBlockHandle block = allocateGlobalBlock(64);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(globalBlockSize(block), 64u);
    const auto *bytes = static_cast<const unsigned char *>(globalBlockData(block));
    for (size_t i = 0; i < 64; ++i)
        EXPECT_EQ(bytes[i], 0);
    freeGlobalBlock(block);

    EXPECT_EQ(globalBlockData(nullptr), nullptr);
    EXPECT_EQ(globalBlockSize(nullptr), 0u);
    freeGlobalBlock(nullptr);
}

} // namespace
} // namespace quarnel::platform
