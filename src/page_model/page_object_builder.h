#pragma once
// Building and releasing page objects. The engine records captured pages with these, and tests
// build page objects by hand with them, so that every page object, however made, is released by
// the same code (PDF_DestroyPageObject).
//
// Ownership: bodies are allocated with new, their arrays with new[]; an element owns its body.
#include <quarnel/pdf_engine.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace quarnel::page_model {

// A new page object with every page-level field zero and no elements.
PageObject *createPageObject();

// Appends an element that takes ownership of `body` (which may be null only for a region).
void appendElement(PageObject *page, PageElementKind kind, void *body);

// Releases the page object, its elements and their bodies; null is ignored.
void destroyPageObject(PageObject *page);

// Body constructors with owned copies of their sequences. Scalar fields start at zero.
PageText *newPageText(int32_t x, int32_t y, std::u16string_view text, std::string_view fontName);
PageImage *newPageImage(int32_t sampleWidth, int32_t sampleHeight); // zeroed pixels, header and colour table set
PageLine *newPageLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, uint32_t color, int32_t style);
PagePolygon *newPagePolygon(const std::vector<PagePoint> &points, int32_t fillRule, uint32_t color);
PageRegion *newPageRegion(const std::vector<uint8_t> &regionData);

} // namespace quarnel::page_model
