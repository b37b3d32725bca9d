#include "page_model/page_object_builder.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace quarnel::page_model {
namespace {

static_assert(sizeof(BitmapInfoHeader) == 40, "the bitmap header must keep the Windows layout");
static_assert(sizeof(RgbQuad) == 4, "colour table entries are four bytes");

// The public struct comes first in a standard-layout struct, so a PageObject pointer is also a
// pointer to its storage; the hidden capacity keeps appends amortised O(1) without a capacity
// field in the C header.
struct PageObjectStorage {
    PageObject page;
    size_t capacity;
};
static_assert(std::is_standard_layout_v<PageObjectStorage>);

PageObjectStorage *storageOf(PageObject *page)
{
    return reinterpret_cast<PageObjectStorage *>(page);
}

void destroyBody(PageElement *element)
{
    switch (element->kind) {
    case ElementText: {
        auto *text = static_cast<PageText *>(element->body);
        if (text) {
            delete[] text->text;
            delete[] text->fontName;
        }
        delete text;
        break;
    }
    case ElementImage: {
        auto *image = static_cast<PageImage *>(element->body);
        if (image)
            delete[] image->pixels;
        delete image;
        break;
    }
    case ElementLine:
        delete static_cast<PageLine *>(element->body);
        break;
    case ElementPolygon: {
        auto *polygon = static_cast<PagePolygon *>(element->body);
        if (polygon)
            delete[] polygon->points;
        delete polygon;
        break;
    }
    case ElementRegion: {
        auto *region = static_cast<PageRegion *>(element->body);
        if (region)
            delete[] region->regionData;
        delete region;
        break;
    }
    default:
        break; // an unknown kind owns nothing we know how to free
    }
}

} // namespace

PageObject *createPageObject()
{
    return &(new PageObjectStorage{})->page;
}

void appendElement(PageObject *page, PageElementKind kind, void *body)
{
    PageObjectStorage *storage = storageOf(page);
    const size_t count = static_cast<size_t>(page->elementCount);
    if (count == storage->capacity) {
        const size_t capacity = std::max<size_t>(16, storage->capacity * 2);
        auto **grown = new PageElement *[capacity];
        std::copy(page->elements, page->elements + count, grown);
        delete[] page->elements;
        page->elements = grown;
        storage->capacity = capacity;
    }
    page->elements[count] = new PageElement{kind, body};
    page->elementCount = static_cast<int32_t>(count + 1);
}

void destroyPageObject(PageObject *page)
{
    if (!page)
        return;
    for (int32_t i = 0; i < page->elementCount; ++i) {
        destroyBody(page->elements[i]);
        delete page->elements[i];
    }
    delete[] page->elements;
    delete storageOf(page);
}

PageText *newPageText(int32_t x, int32_t y, std::u16string_view text, std::string_view fontName)
{
    auto *body = new PageText{};
    body->x = x;
    body->y = y;
    body->count = static_cast<int32_t>(text.size());
    body->text = new uint16_t[std::max<size_t>(text.size(), 1)]();
    std::copy(text.begin(), text.end(), body->text);
    body->fontName = new char[fontName.size() + 1];
    std::memcpy(body->fontName, fontName.data(), fontName.size());
    body->fontName[fontName.size()] = '\0';
    return body;
}

PageImage *newPageImage(int32_t sampleWidth, int32_t sampleHeight)
{
    auto *image = new PageImage{};
    image->header.biSize = 40;
    image->header.biWidth = sampleWidth;
    image->header.biHeight = sampleHeight;
    image->header.biPlanes = 1;
    image->header.biBitCount = 32;
    image->colorTable[0] = RgbQuad{255, 255, 255, 0};
    image->colorTable[1] = RgbQuad{0, 0, 0, 0};
    const size_t bytes = static_cast<size_t>(sampleWidth) * static_cast<size_t>(sampleHeight) * 4;
    image->pixels = new uint8_t[std::max<size_t>(bytes, 1)]();
    image->pixelBytes = static_cast<int32_t>(bytes);
    return image;
}

PageLine *newPageLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, uint32_t color, int32_t style)
{
    return new PageLine{x1, y1, x2, y2, width, color, style};
}

PagePolygon *newPagePolygon(const std::vector<PagePoint> &points, int32_t fillRule, uint32_t color)
{
    auto *polygon = new PagePolygon{};
    polygon->points = new PagePoint[std::max<size_t>(points.size(), 1)]();
    std::copy(points.begin(), points.end(), polygon->points);
    polygon->pointCount = static_cast<int32_t>(points.size());
    polygon->fillRule = fillRule;
    polygon->color = color;
    return polygon;
}

PageRegion *newPageRegion(const std::vector<uint8_t> &regionData)
{
    auto *region = new PageRegion{};
    region->regionData = new uint8_t[std::max<size_t>(regionData.size(), 1)]();
    std::copy(regionData.begin(), regionData.end(), region->regionData);
    region->regionSize = static_cast<int32_t>(regionData.size());
    return region;
}

} // namespace quarnel::page_model
