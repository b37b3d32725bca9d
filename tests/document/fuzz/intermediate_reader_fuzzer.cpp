// libFuzzer target for the intermediate-file reader and the RTF it leads to: any byte string
// must give pages or a clean error, never a crash, a hang or an outsized allocation. Reads every
// page twice, as vornik does (first skipping picture data, then with it), and writes the RTF of
// each page read in full, in memory. No corpus is kept in the tree; to run it:
//   cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
//         -DQUARNEL_BUILD_FUZZERS=ON -DQUARNEL_ENABLE_ASAN=ON      (one command)
//   cmake --build build/fuzz -j2 --target intermediate_reader_fuzzer
//   mkdir -p /tmp/corpus && build/fuzz/bin/intermediate_reader_fuzzer -max_total_time=300 /tmp/corpus
#include "layout/intermediate/intermediate_reader.h"
#include "writer/rtf_document.h"

#include <cstddef>
#include <cstdint>

namespace {

using quarnel::layout::intermediate::IntermediateReader;

void readAll(const uint8_t *data, size_t size, bool skipPictureData)
{
    IntermediateReader reader;
    if (!reader.openMemory(data, size))
        return;
    quarnel::writer::RtfDocument document("Times New Roman", 936, quarnel::writer::ColorTable{});
    std::string rtf;
    quarnel::layout::LayoutPage page;
    for (bool first = true; reader.readPage(page, skipPictureData) == IntermediateReader::Status::Page; first = false) {
        if (skipPictureData)
            continue;
        rtf.clear();
        if (first)
            document.appendHeader(rtf, page);
        document.appendPage(rtf, page, first);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    readAll(data, size, true);
    readAll(data, size, false);
    return 0;
}
