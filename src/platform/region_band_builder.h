#pragma once
// Builds a region band by band, for the region operations (internal to the platform library).
#include "platform/region.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace quarnel::platform {

// A horizontal run of pixels left <= x < right.
struct RegionSpan {
    int32_t left = 0;
    int32_t right = 0;
    bool operator==(const RegionSpan &) const = default;
};

// Appends bands top to bottom and keeps the result canonical: a band that touches the previous
// one and has the same spans extends it instead of adding rectangles.
class RegionBandBuilder {
public:
    // `spans` must be sorted, non-empty and apart from each other (no two touching); bands must
    // come in y order without overlapping. Empty bands are ignored.
    void appendBand(int32_t top, int32_t bottom, std::span<const RegionSpan> spans);
    Region finish() { return std::move(region_); }

private:
    bool sameSpansAsLastBand(int32_t top, std::span<const RegionSpan> spans) const;

    Region region_;
    std::size_t lastBandStart_ = 0;
};

// Adds [left, right) to spans being collected left to right, joining it to the last span when
// they touch or overlap; empty runs are dropped.
void appendSpan(std::vector<RegionSpan> &spans, int64_t left, int64_t right);

} // namespace quarnel::platform
