#include "layout/intermediate_path.h"

#include "platform/path_parts.h"

namespace quarnel::layout {
namespace {

// Enough alternatives for any folder a person keeps; bounded so a full folder cannot spin.
constexpr int MaxAlternativeNames = 1000;

} // namespace

std::string intermediatePathFor(std::string_view destination)
{
    return platform::replaceExtension(destination, ".tmp");
}

std::string numberedIntermediatePath(std::string_view destination, int n)
{
    if (n == 0)
        return intermediatePathFor(destination);
    platform::PathParts parts = platform::splitPath(destination);
    parts.name.append(".").append(std::to_string(n));
    parts.extension = ".tmp";
    return platform::joinPath(parts);
}

std::optional<std::string> createIntermediateFile(intermediate::IntermediateWriter &writer,
                                                  const std::string &destination)
{
    using CreateResult = intermediate::IntermediateWriter::CreateResult;
    for (int n = 0; n < MaxAlternativeNames; ++n) {
        const std::string candidate = numberedIntermediatePath(destination, n);
        // The writer replaces the destination, so the destination cannot double as its input.
        if (candidate == destination)
            continue;
        switch (writer.create(candidate)) {
        case CreateResult::Created:
            return candidate;
        case CreateResult::Exists:
            continue;
        case CreateResult::Failed:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace quarnel::layout
