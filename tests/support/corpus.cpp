#include "support/engine_fixture.h"

#include "support/build_paths.h"

#include <cstdlib>
#include <filesystem>

namespace quarnel::testing {

std::string corpusDirectory()
{
    if (const char *dir = std::getenv("QUARNEL_CORPUS_DIR"); dir && *dir)
        return std::string(dir) + "/";
    const std::string candidate = sourceDirectory() + "/../shared/corpus/dev/";
    if (std::filesystem::exists(candidate + "MANIFEST.tsv"))
        return candidate;
    return {};
}

} // namespace quarnel::testing
