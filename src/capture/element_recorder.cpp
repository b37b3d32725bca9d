#include "capture/element_recorder.h"

namespace quarnel::capture {

void discardBody(PageElementKind kind, void *body)
{
    if (!body)
        return;
    switch (kind) {
    case ElementText: {
        auto *text = static_cast<PageText *>(body);
        delete[] text->text;
        delete[] text->fontName;
        delete text;
        break;
    }
    case ElementImage: {
        auto *image = static_cast<PageImage *>(body);
        delete[] image->pixels;
        delete image;
        break;
    }
    case ElementLine:
        delete static_cast<PageLine *>(body);
        break;
    case ElementPolygon: {
        auto *polygon = static_cast<PagePolygon *>(body);
        delete[] polygon->points;
        delete polygon;
        break;
    }
    case ElementRegion: {
        auto *region = static_cast<PageRegion *>(body);
        delete[] region->regionData;
        delete region;
        break;
    }
    }
}

} // namespace quarnel::capture
