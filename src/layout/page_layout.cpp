#include "layout/page_layout.h"

#include "layout/block_list.h"
#include "layout/page_elements.h"
#include "layout/text_options.h"
#include "layout/text_walk.h"
#include "layout/zoom_scale.h"
#include "platform/code_page.h"
#include "settings/setting_keys.h"

#include <cstring>

namespace quarnel::layout {
namespace {

constexpr size_t BitmapHeaderBytes = sizeof(BitmapInfoHeader);
static_assert(BitmapHeaderBytes == 40, "pictures carry the 40-byte Windows bitmap header");

PictureRecordBody pictureFrom(const PageImage &image, float zoomFactor)
{
    PictureRecordBody body;
    body.x = scaleByZoom(image.destX, zoomFactor);
    body.y = scaleByZoom(image.destY, zoomFactor);
    body.width = scaleByZoom(image.destWidth, zoomFactor);
    body.height = scaleByZoom(image.destHeight, zoomFactor);
    body.pictureKind = 3;
    const size_t pixelBytes = image.pixels && image.pixelBytes > 0 ? static_cast<size_t>(image.pixelBytes) : 0;
    body.data.resize(BitmapHeaderBytes + pixelBytes);
    std::memcpy(body.data.data(), &image.header, BitmapHeaderBytes);
    if (pixelBytes > 0)
        std::memcpy(body.data.data() + BitmapHeaderBytes, image.pixels, pixelBytes);
    return body;
}

// Segments that start on the page's edge or outside it, or end on or beyond its right or bottom
// edge, are mostly page frames and crop marks; they are left out.
bool keepsLine(const PageLine &line, const PageObject &page)
{
    return line.x1 > 0 && line.y1 > 0 && line.x1 < page.width && line.y1 < page.height && line.x2 < page.width &&
           line.y2 < page.height;
}

ShapeRecordBody shapeFrom(const PageLine &line, float zoomFactor)
{
    ShapeRecordBody body;
    body.x = scaleByZoom(line.x1, zoomFactor);
    body.y = scaleByZoom(line.y1, zoomFactor);
    body.dx = scaleByZoom(static_cast<double>(int64_t{line.x2} - line.x1), zoomFactor);
    body.dy = scaleByZoom(static_cast<double>(int64_t{line.y2} - line.y1), zoomFactor);
    body.penWidth = scaleByZoom(line.width, zoomFactor);
    body.color = static_cast<int32_t>(line.color);
    body.penStyle = line.style;
    return body;
}

} // namespace

int32_t layoutPageWidth(const PageObject &pageObject, float zoomFactor)
{
    return scaleByZoom(pageObject.width, zoomFactor);
}

int32_t layoutPageHeight(const PageObject &pageObject, float zoomFactor, bool textBoxMode)
{
    const int32_t height = scaleByZoom(pageObject.height, zoomFactor);
    return textBoxMode ? height : truncateToInt32(height * 1.2);
}

void buildPageLayout(LayoutPage &page, const PageObject *pageObject, float zoomFactor)
{
    const bool deleteGraphics = settings::read(settings::keys::DeleteGraphics) != 0;
    const bool deletePictures = settings::read(settings::keys::DeletePictures) != 0;
    if (!pageObject)
        return;
    const bool textBoxMode = settings::read(settings::keys::UseTextBox) != 0;

    page.width = layoutPageWidth(*pageObject, zoomFactor);
    page.height = layoutPageHeight(*pageObject, zoomFactor, textBoxMode);
    // One slot per element of any kind: each element makes at most one record.
    auto &records = page.records.emplace(elementsOf(*pageObject).size());

    std::span<LayoutRecord> freeSlots(records);
    if (!deletePictures)
        freeSlots = addPictureRecords(freeSlots, pageObject, zoomFactor);
    if (!deleteGraphics)
        freeSlots = addShapeRecords(freeSlots, pageObject, zoomFactor);
    addTextRecords(freeSlots, pageObject, zoomFactor);
}

std::span<LayoutRecord> addPictureRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                          float zoomFactor)
{
    if (!pageObject)
        return freeSlots;
    size_t used = 0;
    for (const PageElement *element : elementsOf(*pageObject)) {
        const auto *image = bodyOf<PageImage>(element, ElementImage);
        if (!image)
            continue;
        if (used == freeSlots.size())
            break;
        freeSlots[used].type = RecordType::Picture;
        freeSlots[used].body = pictureFrom(*image, zoomFactor);
        ++used;
    }
    return freeSlots.subspan(used);
}

std::span<LayoutRecord> addShapeRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                        float zoomFactor)
{
    if (!pageObject)
        return freeSlots;
    size_t used = 0;
    for (const PageElement *element : elementsOf(*pageObject)) {
        const auto *line = bodyOf<PageLine>(element, ElementLine);
        if (!line || !keepsLine(*line, *pageObject))
            continue;
        if (used == freeSlots.size())
            break;
        freeSlots[used].type = RecordType::Line;
        freeSlots[used].body = shapeFrom(*line, zoomFactor);
        ++used;
    }
    return freeSlots.subspan(used);
}

std::span<LayoutRecord> addTextRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                       float zoomFactor)
{
    return addTextRecords(freeSlots, pageObject, zoomFactor, readTextOptions(platform::activeCodePage()));
}

std::span<LayoutRecord> addTextRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                       float zoomFactor, const TextOptions &options)
{
    if (!pageObject)
        return freeSlots;
    BlockList blocks(options.textBoxMode);
    walkTextElements(*pageObject, zoomFactor, options, blocks);
    return blocks.emit(freeSlots, layoutPageHeight(*pageObject, zoomFactor, options.textBoxMode));
}

} // namespace quarnel::layout
