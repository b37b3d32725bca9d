#pragma once
// Read access to the elements of a page object that tolerates what a damaged or hand-made page
// object may hold: a null element array, a negative count, null elements and null bodies.
#include <quarnel/pdf_engine.h>

#include <cstddef>
#include <span>
#include <string_view>

namespace quarnel::layout {

inline std::span<PageElement *const> elementsOf(const PageObject &page)
{
    if (!page.elements || page.elementCount <= 0)
        return {};
    return {page.elements, static_cast<size_t>(page.elementCount)};
}

// The element's body when it is of `kind` and has one, otherwise null.
template <class Body> const Body *bodyOf(const PageElement *element, PageElementKind kind)
{
    if (!element || element->kind != kind)
        return nullptr;
    return static_cast<const Body *>(element->body);
}

inline const PageText *textBodyOf(const PageElement *element)
{
    return bodyOf<PageText>(element, ElementText);
}

// The character's code units; empty for a missing buffer or a nonsensical count.
inline std::span<const uint16_t> unitsOf(const PageText &text)
{
    if (!text.text || text.count <= 0)
        return {};
    return {text.text, static_cast<size_t>(text.count)};
}

inline std::string_view fontNameOf(const PageText &text)
{
    return text.fontName ? std::string_view(text.fontName) : std::string_view();
}

} // namespace quarnel::layout
