#pragma once
// Drawing objects of a page: pictures and lines as \shp shapes anchored to the page (the only
// anchoring LibreOffice honours exactly), neither of which moves text.
#include "layout/layout_records.h"

#include <string>
#include <vector>

namespace quarnel::writer {

// Shape ids and z-order positions, unique within a document.
class ShapeCounter {
public:
    int next() { return ++last_; }

private:
    int last_ = 0;
};

// A picture record as a picture shape behind the text, its bitmap as PNG, cut to the page (page
// size in layout units). False (and nothing appended) when the bitmap header does not match its
// data; a picture entirely off the page appends nothing.
bool appendPictureShape(std::string &out, const layout::PictureRecordBody &picture, int32_t pageWidth,
                        int32_t pageHeight, ShapeCounter &ids);

// A line record as one line shape, or as a row of short ones for a dashed pen (LibreOffice draws
// dashed shape lines solid). The line is clipped to the page, since Writer moves shapes that
// stick out back inside it. Page size in layout units.
void appendLineShapes(std::string &out, const layout::ShapeRecordBody &line, int32_t pageWidth,
                      int32_t pageHeight, ShapeCounter &ids);

// How many shapes appendLineShapes writes for the line: 0 when it lies off the page.
int lineShapeCount(const layout::ShapeRecordBody &line, int32_t pageWidth, int32_t pageHeight);

// All of a page's lines drawn into one transparent page-sized PNG picture behind the text, for
// pages with more lines than a reader can take as shapes (LibreOffice needs seconds per hundred
// shapes). Nothing is appended when no line reaches the page; false when the picture could not
// be encoded. Throws std::bad_alloc when the raster does not fit in memory.
bool appendLinePicture(std::string &out, const std::vector<const layout::ShapeRecordBody *> &lines,
                       int32_t pageWidth, int32_t pageHeight, ShapeCounter &ids);

} // namespace quarnel::writer
