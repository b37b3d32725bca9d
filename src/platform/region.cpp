#include "platform/region.h"

#include "platform/region_band_builder.h"

#include <algorithm>
#include <cassert>

namespace quarnel::platform {
namespace {

// One band of a region: the rectangles [begin, end) of its rectangle list, all with the same
// top and bottom.
struct BandRange {
    std::size_t begin = 0;
    std::size_t end = 0;
};

BandRange bandAt(const std::vector<RegionRect> &rects, std::size_t begin)
{
    std::size_t end = begin;
    while (end < rects.size() && rects[end].top == rects[begin].top)
        ++end;
    return {begin, end};
}

void intersectSpans(const std::vector<RegionRect> &a, BandRange bandA, const std::vector<RegionRect> &b,
                    BandRange bandB, std::vector<RegionSpan> &out)
{
    out.clear();
    std::size_t i = bandA.begin;
    std::size_t j = bandB.begin;
    while (i < bandA.end && j < bandB.end) {
        const int32_t left = std::max(a[i].left, b[j].left);
        const int32_t right = std::min(a[i].right, b[j].right);
        if (left < right)
            out.push_back({left, right});
        if (a[i].right < b[j].right)
            ++i;
        else if (b[j].right < a[i].right)
            ++j;
        else {
            ++i;
            ++j;
        }
    }
}

void putInt32(std::vector<uint8_t> &out, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(bits >> shift));
}

int32_t getInt32(std::span<const uint8_t> data, std::size_t offset)
{
    uint32_t bits = 0;
    for (int k = 3; k >= 0; --k)
        bits = (bits << 8) | data[offset + static_cast<std::size_t>(k)];
    return static_cast<int32_t>(bits);
}

} // namespace

void appendSpan(std::vector<RegionSpan> &spans, int64_t left, int64_t right)
{
    if (right <= left)
        return;
    if (!spans.empty() && left <= spans.back().right) {
        spans.back().right = std::max(spans.back().right, static_cast<int32_t>(right));
        return;
    }
    spans.push_back({static_cast<int32_t>(left), static_cast<int32_t>(right)});
}

bool RegionBandBuilder::sameSpansAsLastBand(int32_t top, std::span<const RegionSpan> spans) const
{
    const std::vector<RegionRect> &rects = region_.rects_;
    if (rects.empty() || rects.back().bottom != top || rects.size() - lastBandStart_ != spans.size())
        return false;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const RegionRect &r = rects[lastBandStart_ + k];
        if (r.left != spans[k].left || r.right != spans[k].right)
            return false;
    }
    return true;
}

void RegionBandBuilder::appendBand(int32_t top, int32_t bottom, std::span<const RegionSpan> spans)
{
    if (bottom <= top || spans.empty())
        return;
    std::vector<RegionRect> &rects = region_.rects_;
    assert(rects.empty() || rects.back().bottom <= top);
    if (sameSpansAsLastBand(top, spans)) {
        for (std::size_t k = lastBandStart_; k < rects.size(); ++k)
            rects[k].bottom = bottom;
        return;
    }
    lastBandStart_ = rects.size();
    for (const RegionSpan &span : spans)
        rects.push_back({span.left, top, span.right, bottom});
}

Region Region::fromRectangle(const RegionRect &rect)
{
    const RegionSpan span{std::min(rect.left, rect.right), std::max(rect.left, rect.right)};
    RegionBandBuilder builder;
    if (span.left < span.right)
        builder.appendBand(std::min(rect.top, rect.bottom), std::max(rect.top, rect.bottom), {&span, 1});
    return builder.finish();
}

Region Region::intersected(const Region &other) const
{
    const std::vector<RegionRect> &a = rects_;
    const std::vector<RegionRect> &b = other.rects_;
    RegionBandBuilder builder;
    std::vector<RegionSpan> spans;
    std::size_t i = 0;
    std::size_t j = 0;
    BandRange bandA = bandAt(a, 0);
    BandRange bandB = bandAt(b, 0);
    while (i < a.size() && j < b.size()) {
        const int32_t top = std::max(a[i].top, b[j].top);
        const int32_t bottom = std::min(a[i].bottom, b[j].bottom);
        if (top < bottom) {
            intersectSpans(a, bandA, b, bandB, spans);
            builder.appendBand(top, bottom, spans);
        }
        // Move past whichever band ends first; the other may still meet the next one.
        const int32_t bottomA = a[i].bottom;
        const int32_t bottomB = b[j].bottom;
        if (bottomA <= bottomB) {
            i = bandA.end;
            bandA = bandAt(a, i);
        }
        if (bottomB <= bottomA) {
            j = bandB.end;
            bandB = bandAt(b, j);
        }
    }
    return builder.finish();
}

RegionRect Region::boundingBox() const
{
    if (rects_.empty())
        return {};
    RegionRect box{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
    for (const RegionRect &r : rects_) {
        box.left = std::min(box.left, r.left);
        box.right = std::max(box.right, r.right);
    }
    return box;
}

std::vector<uint8_t> Region::regionData() const
{
    std::vector<uint8_t> out;
    out.reserve(RegionDataHeaderSize + rects_.size() * 16);
    const RegionRect box = boundingBox();
    putInt32(out, static_cast<int32_t>(RegionDataHeaderSize));
    putInt32(out, 1); // RDH_RECTANGLES
    putInt32(out, static_cast<int32_t>(rects_.size()));
    putInt32(out, static_cast<int32_t>(rects_.size() * 16));
    for (int32_t value : {box.left, box.top, box.right, box.bottom})
        putInt32(out, value);
    for (const RegionRect &r : rects_)
        for (int32_t value : {r.left, r.top, r.right, r.bottom})
            putInt32(out, value);
    return out;
}

std::optional<std::vector<RegionRect>> rectanglesFromRegionData(std::span<const uint8_t> data)
{
    if (data.size() < RegionDataHeaderSize || getInt32(data, 0) != static_cast<int32_t>(RegionDataHeaderSize) ||
        getInt32(data, 4) != 1)
        return std::nullopt;
    const int32_t count = getInt32(data, 8);
    if (count < 0 || static_cast<uint64_t>(count) * 16 > data.size() - RegionDataHeaderSize)
        return std::nullopt;
    std::vector<RegionRect> rects;
    rects.reserve(static_cast<std::size_t>(count));
    for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
        const std::size_t offset = RegionDataHeaderSize + k * 16;
        const RegionRect r{getInt32(data, offset), getInt32(data, offset + 4), getInt32(data, offset + 8),
                           getInt32(data, offset + 12)};
        if (r.left < r.right && r.top < r.bottom)
            rects.push_back(r);
    }
    return rects;
}

} // namespace quarnel::platform
