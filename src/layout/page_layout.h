#pragma once
// From a captured page to its Word layout: pictures, then lines, then text blocks, each pass
// filling consecutive record slots from the front of the page's slot array.
//
// Coordinates in the page object are pixels of the 72-dpi capture; in the records they are
// layout units, pixels times `zoomFactor` (zoom percent / 29) truncated toward zero.
#include "layout/layout_records.h"

#include <quarnel/pdf_engine.h>

#include <span>

namespace quarnel::layout {

struct TextOptions;

// Fills `page` from `pageObject`: page size, one slot per element of the page object (every
// kind counts, so there are always enough), then the picture, line and text records, with the
// graphics and text-box options read from the settings store. A null page object leaves the
// page untouched. The page object stays owned by the caller.
void buildPageLayout(LayoutPage &page, const PageObject *pageObject, float zoomFactor);

// The page size in layout units; text-box mode off stretches the height by 1.2, leaving room
// for the line feeds that stand in for absolute positions.
int32_t layoutPageWidth(const PageObject &pageObject, float zoomFactor);
int32_t layoutPageHeight(const PageObject &pageObject, float zoomFactor, bool textBoxMode);

// Each pass writes its records into the front of `freeSlots` and returns the slots after its
// last record. A pass never writes past the span; records that do not fit are dropped.

// One picture record per image element, in element order.
std::span<LayoutRecord> addPictureRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                          float zoomFactor);

// One line record per line element whose start lies strictly inside the page and whose end lies
// before its right and bottom edges; filled polygons and clip regions make no record.
std::span<LayoutRecord> addShapeRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                        float zoomFactor);

// The text blocks of the page, top to bottom, with the six text options read from the settings
// store and the process's active code page.
std::span<LayoutRecord> addTextRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                       float zoomFactor);

// The same with the options given, for callers (and tests) that choose the code page themselves.
std::span<LayoutRecord> addTextRecords(std::span<LayoutRecord> freeSlots, const PageObject *pageObject,
                                       float zoomFactor, const TextOptions &options);

} // namespace quarnel::layout
