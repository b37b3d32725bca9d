#pragma once
// Where the intermediate file of a document goes: beside the destination, with the extension
// ".tmp" (out/report.doc gives out/report.tmp).
#include "layout/intermediate/intermediate_writer.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarnel::layout {

// The ".tmp" name of a destination; a destination without extension gains one.
std::string intermediatePathFor(std::string_view destination);

// The n-th alternative name (out/report.1.tmp for n = 1); n = 0 gives intermediatePathFor.
std::string numberedIntermediatePath(std::string_view destination, int n);

// Creates the intermediate file for `destination` in `writer` and returns its path. A file that
// already has the name is the user's and is never replaced: the next free numbered name is taken
// instead, as is one when the ".tmp" name is the destination itself. Nothing when no file can
// be created (missing folder, no permission, no free name).
std::optional<std::string> createIntermediateFile(intermediate::IntermediateWriter &writer,
                                                  const std::string &destination);

} // namespace quarnel::layout
