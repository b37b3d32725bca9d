#pragma once
// The field lists of the intermediate file's blocks, shared by its writer and its reader so the
// two cannot drift: each block is a fixed run of little-endian 32-bit signed integers, and both
// sides go through the same field arrays below.
#include "layout/layout_records.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarnel::layout::intermediate {

inline constexpr size_t PageBlockFields = 6;
inline constexpr size_t RecordHeaderFields = 2;
inline constexpr size_t TextBodyFields = 14;
inline constexpr size_t PictureBodyFields = 7;
inline constexpr size_t LineBodyFields = 7;

inline constexpr size_t PageBlockSize = PageBlockFields * 4;       // 24
inline constexpr size_t RecordHeaderSize = RecordHeaderFields * 4; // 8
inline constexpr size_t TextBodySize = TextBodyFields * 4;         // 56
inline constexpr size_t PictureBodySize = PictureBodyFields * 4;   // 28
inline constexpr size_t LineBodySize = LineBodyFields * 4;         // 28

// The resolution field of every page block.
inline constexpr int32_t PageResolution = 300;

// The page block as stored; `records` and `next` only mean zero or non-zero.
struct PageBlock {
    int32_t width = 0;
    int32_t height = 0;
    int32_t resolution = 0;
    int32_t recordCount = 0;
    int32_t records = 0;
    int32_t next = 0;
};

template <size_t N> using Fields = std::array<int32_t, N>;

Fields<PageBlockFields> pageBlockFields(const PageBlock &block);
PageBlock pageBlockFromFields(const Fields<PageBlockFields> &fields);

// Text body fields; the variable-data length is text.size() and the pointer field is non-zero.
Fields<TextBodyFields> textBodyFields(const TextRecordBody &body);
// Fills every fixed field; leaves `text` alone. Returns the stored textLength.
int32_t textBodyFromFields(const Fields<TextBodyFields> &fields, TextRecordBody &body);

Fields<PictureBodyFields> pictureBodyFields(const PictureRecordBody &body);
// Fills every fixed field; leaves `data` alone. Returns the stored dataLength.
int32_t pictureBodyFromFields(const Fields<PictureBodyFields> &fields, PictureRecordBody &body);

Fields<LineBodyFields> lineBodyFields(const ShapeRecordBody &body);
ShapeRecordBody lineBodyFromFields(const Fields<LineBodyFields> &fields);

// Little-endian conversion of a field array to and from its bytes.
template <size_t N> void encodeFields(const Fields<N> &fields, uint8_t *out)
{
    for (size_t i = 0; i < N; ++i) {
        const auto value = static_cast<uint32_t>(fields[i]);
        out[i * 4 + 0] = static_cast<uint8_t>(value);
        out[i * 4 + 1] = static_cast<uint8_t>(value >> 8);
        out[i * 4 + 2] = static_cast<uint8_t>(value >> 16);
        out[i * 4 + 3] = static_cast<uint8_t>(value >> 24);
    }
}

template <size_t N> Fields<N> decodeFields(const uint8_t *in)
{
    Fields<N> fields{};
    for (size_t i = 0; i < N; ++i) {
        const uint32_t value = uint32_t(in[i * 4]) | uint32_t(in[i * 4 + 1]) << 8 |
                               uint32_t(in[i * 4 + 2]) << 16 | uint32_t(in[i * 4 + 3]) << 24;
        fields[i] = static_cast<int32_t>(value);
    }
    return fields;
}

} // namespace quarnel::layout::intermediate
