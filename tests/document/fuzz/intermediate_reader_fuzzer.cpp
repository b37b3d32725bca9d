// libFuzzer target for the intermediate-file reader: any byte string must give pages or a clean
// error, never a crash, a hang or an outsized allocation. Reads every page twice, as vornik does
// (first skipping picture data, then with it). Built with -DQUARNEL_BUILD_FUZZERS=ON under clang;
// run it with a fresh corpus directory, none is kept in the tree.
#include "layout/intermediate/intermediate_reader.h"

#include <cstddef>
#include <cstdint>

namespace {

void readAll(const uint8_t *data, size_t size, bool skipPictureData)
{
    quarnel::layout::intermediate::IntermediateReader reader;
    if (!reader.openMemory(data, size))
        return;
    quarnel::layout::LayoutPage page;
    while (reader.readPage(page, skipPictureData) == quarnel::layout::intermediate::IntermediateReader::Status::Page) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    readAll(data, size, true);
    readAll(data, size, false);
    return 0;
}
