#include "support/engine_fixture.h"

#include <cstdlib>
#include <filesystem>

namespace quarnel::testing {

std::string corpusDirectory()
{
    if (const char *dir = std::getenv("QUARNEL_CORPUS_DIR"); dir && *dir)
        return std::string(dir) + "/";
    if (const char *source = std::getenv("QUARNEL_SOURCE_DIR")) {
        const std::string candidate = std::string(source) + "/../shared/corpus/dev/";
        if (std::filesystem::exists(candidate + "MANIFEST.tsv"))
            return candidate;
    }
    return {};
}

} // namespace quarnel::testing
