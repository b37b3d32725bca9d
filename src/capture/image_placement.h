#pragma once
// Where an image lands on the page and which way round its samples go, from the matrix that
// maps the unit square onto the image (poppler's CTM at the image call, device pixels, y down).
#include "capture/path_conversion.h"

#include <array>
#include <cstdint>

namespace quarnel::capture {

using ImageMatrix = std::array<double, 6>;

// A destination rectangle on the page: left, top, width, height.
struct ImageRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const ImageRect &) const = default;
};

// How the samples go into a bottom-up 32-bit buffer (see image_pixels.h): image row r goes to
// buffer row r when `topDown`, else to height - 1 - r; `flip` reverses every row; `turn` then
// turns the buffer a quarter (the image's columns run down the page).
struct ImageOrientation {
    bool flip = false;
    bool topDown = false;
    bool turn = false;
    bool operator==(const ImageOrientation &) const = default;
};

struct ImagePlacement {
    ImageRect dest;       // clipped to the page
    bool visible = false; // the clipped rectangle has width and height
    ImageOrientation orientation;
};

// An image: the bounding box of its rounded corners, both far edges included, clipped to the
// page. The whole image is stretched into the clipped rectangle.
ImagePlacement placeImage(const ImageMatrix &m, PageSize page);

// An image mask: its rectangle is built from the matrix's scale and shear (the far edges are
// not included); a matrix whose determinant is below 1e-6 places nothing (`singular`).
struct MaskPlacement : ImagePlacement {
    bool singular = false;
};
MaskPlacement placeImageMask(const ImageMatrix &m, PageSize page);

// Clips the span [min, max] (pixels, both included) to [0, limit): the start and size of what
// is left; the size is 0 or less when nothing is.
void clipSpan(int64_t min, int64_t max, int32_t limit, int32_t &start, int32_t &size);

} // namespace quarnel::capture
