#pragma once
// Hand-made page objects for the layout tests, released by the model's own destroy function.
#include "layout/layout_records.h"
#include "page_model/page_object_builder.h"

#include <quarnel/pdf_engine.h>

#include <string>
#include <string_view>
#include <vector>

namespace quarnel::layout::testing {

// The zoom factor the conversion driver forms from a zoom percent.
inline float zoomFactorFor(int zoomPercent)
{
    return static_cast<float>(zoomPercent * (1.0 / 29.0));
}

class PageFixture {
public:
    explicit PageFixture(int32_t width = 595, int32_t height = 842) : page_(page_model::createPageObject())
    {
        page_->width = width;
        page_->height = height;
        page_->resolution = 72;
    }
    ~PageFixture() { page_model::destroyPageObject(page_); }
    PageFixture(const PageFixture &) = delete;
    PageFixture &operator=(const PageFixture &) = delete;

    PageObject *get() const { return page_; }

    // A character of size `size` (em height) whose advance is `advance`, black, regular, upright.
    PageText &text(int32_t x, int32_t y, std::u16string_view units, int32_t size = 10, int32_t advance = 6,
                   std::string_view font = "Times New Roman")
    {
        PageText *body = page_model::newPageText(x, y, units, font);
        body->fontHeight = size;
        body->advance = advance;
        page_model::appendElement(page_, ElementText, body);
        return *body;
    }

    // One character per code unit of `word`, each `advance` wide, from x on.
    void word(int32_t x, int32_t y, std::u16string_view word, int32_t size = 10, int32_t advance = 6)
    {
        for (char16_t unit : word) {
            text(x, y, std::u16string_view(&unit, 1), size, advance);
            x += advance;
        }
    }

    PageImage &image(int32_t x, int32_t y, int32_t width, int32_t height, int32_t samplesWide = 2,
                     int32_t samplesHigh = 1)
    {
        PageImage *body = page_model::newPageImage(samplesWide, samplesHigh);
        body->destX = x;
        body->destY = y;
        body->destWidth = width;
        body->destHeight = height;
        page_model::appendElement(page_, ElementImage, body);
        return *body;
    }

    void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t penWidth = 1, uint32_t color = 0,
              int32_t style = 0)
    {
        page_model::appendElement(page_, ElementLine, page_model::newPageLine(x1, y1, x2, y2, penWidth, color, style));
    }

    void polygon()
    {
        page_model::appendElement(page_, ElementPolygon, page_model::newPagePolygon({{1, 1}, {5, 1}, {5, 5}}, 1, 0));
    }
    void region() { page_model::appendElement(page_, ElementRegion, nullptr); }

private:
    PageObject *page_;
};

// The text bodies of the filled slots, in slot order.
inline std::vector<const TextRecordBody *> textBodies(const std::vector<LayoutRecord> &records)
{
    std::vector<const TextRecordBody *> bodies;
    for (const LayoutRecord &record : records)
        if (const auto *body = std::get_if<TextRecordBody>(&record.body))
            bodies.push_back(body);
    return bodies;
}

} // namespace quarnel::layout::testing
