#pragma once
// Appending elements to the capture target. An element whose allocation fails is dropped and
// capture goes on, so that one huge image does not lose the whole page.
#include "capture/engine_state.h"
#include "page_model/page_object_builder.h"

#include <new>

namespace quarnel::capture {

// Frees a body that never made it into a page object.
void discardBody(PageElementKind kind, void *body);

// True while primitives record instead of drawing.
inline bool recording()
{
    return engineState().currentPageObject != nullptr;
}

// Builds a body with `make` and appends it to the capture target.
template <typename Make> void recordElement(PageElementKind kind, Make &&make)
{
    PageObject *target = engineState().currentPageObject;
    if (!target)
        return;
    void *body = nullptr;
    try {
        body = make();
        page_model::appendElement(target, kind, body);
    } catch (const std::bad_alloc &) {
        discardBody(kind, body);
    }
}

} // namespace quarnel::capture
