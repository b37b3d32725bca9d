#include "layout/intermediate/record_codec.h"

namespace quarnel::layout::intermediate {
namespace {

// Pointer fields are stored as "present" markers only.
constexpr int32_t Present = 1;

} // namespace

Fields<PageBlockFields> pageBlockFields(const PageBlock &block)
{
    return {block.width, block.height, block.resolution, block.recordCount, block.records, block.next};
}

PageBlock pageBlockFromFields(const Fields<PageBlockFields> &f)
{
    return PageBlock{f[0], f[1], f[2], f[3], f[4], f[5]};
}

Fields<TextBodyFields> textBodyFields(const TextRecordBody &b)
{
    return {b.x,         b.y,         b.color,     b.flags,     b.width,
            b.height,    b.reserved1, b.textHeight, b.reserved2, b.reserved3,
            b.reserved4, 0 /* reserved5 */, static_cast<int32_t>(b.text.size()), Present};
}

int32_t textBodyFromFields(const Fields<TextBodyFields> &f, TextRecordBody &b)
{
    b.x = f[0];
    b.y = f[1];
    b.color = f[2];
    b.flags = f[3];
    b.width = f[4];
    b.height = f[5];
    b.reserved1 = f[6];
    b.textHeight = f[7];
    b.reserved2 = f[8];
    b.reserved3 = f[9];
    b.reserved4 = f[10];
    return f[12];
}

Fields<PictureBodyFields> pictureBodyFields(const PictureRecordBody &b)
{
    return {b.x, b.y, b.pictureKind, b.width, b.height, static_cast<int32_t>(b.data.size()), Present};
}

int32_t pictureBodyFromFields(const Fields<PictureBodyFields> &f, PictureRecordBody &b)
{
    b.x = f[0];
    b.y = f[1];
    b.pictureKind = f[2];
    b.width = f[3];
    b.height = f[4];
    return f[5];
}

Fields<LineBodyFields> lineBodyFields(const ShapeRecordBody &b)
{
    return {b.x, b.y, b.dx, b.dy, b.penWidth, b.color, b.penStyle};
}

ShapeRecordBody lineBodyFromFields(const Fields<LineBodyFields> &f)
{
    return ShapeRecordBody{f[0], f[1], f[2], f[3], f[4], f[5], f[6]};
}

} // namespace quarnel::layout::intermediate
