#include "capture/image_placement.h"

#include <algorithm>
#include <cmath>

namespace quarnel::capture {
namespace {

// Far beyond any page, small enough that sums of a few of them stay exact in int64.
constexpr double CoordinateLimit = 1e12;

double bounded(double v)
{
    return std::isnan(v) ? 0.0 : std::clamp(v, -CoordinateLimit, CoordinateLimit);
}

// trunc(v + 0.5), toward zero as the device has always rounded.
int64_t roundCoordinate(double v)
{
    return static_cast<int64_t>(bounded(v + 0.5));
}

// A turned image has its columns running along y: |m1| > |m0|.
ImageOrientation orientationOf(const ImageMatrix &m)
{
    ImageOrientation o;
    if (std::fabs(m[1]) > std::fabs(m[0])) {
        o.turn = true;
        o.topDown = m[0] + m[2] > 0;
        // The quarter turn puts buffer column 0 at the bottom; a matrix whose columns run down
        // the page needs them reversed first.
        o.flip = m[1] + m[3] > 0;
    } else {
        o.flip = m[0] + m[2] < 0;
        o.topDown = m[1] + m[3] > 0;
    }
    return o;
}

struct Box {
    int64_t xMin, yMin, xMax, yMax;
};

ImagePlacement clipped(const Box &box, PageSize page)
{
    ImagePlacement placement;
    clipSpan(box.xMin, box.xMax, page.width, placement.dest.left, placement.dest.width);
    clipSpan(box.yMin, box.yMax, page.height, placement.dest.top, placement.dest.height);
    placement.visible = placement.dest.width > 0 && placement.dest.height > 0;
    return placement;
}

} // namespace

void clipSpan(int64_t min, int64_t max, int32_t limit, int32_t &start, int32_t &size)
{
    int64_t length = max < limit ? max - min + 1 : int64_t{limit} - min;
    if (min < 0) {
        length += min;
        min = 0;
    }
    start = static_cast<int32_t>(std::min<int64_t>(min, limit));
    size = static_cast<int32_t>(std::clamp<int64_t>(length, -1, limit));
}

ImagePlacement placeImage(const ImageMatrix &m, PageSize page)
{
    const int64_t xs[] = {roundCoordinate(m[4]), roundCoordinate(m[4] + m[2]), roundCoordinate(m[4] + m[0]),
                          roundCoordinate(m[4] + m[0] + m[2])};
    const int64_t ys[] = {roundCoordinate(m[5]), roundCoordinate(m[5] + m[3]), roundCoordinate(m[5] + m[1]),
                          roundCoordinate(m[5] + m[1] + m[3])};
    const Box box{*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4), *std::max_element(xs, xs + 4),
                  *std::max_element(ys, ys + 4)};
    ImagePlacement placement = clipped(box, page);
    placement.orientation = orientationOf(m);
    return placement;
}

MaskPlacement placeImageMask(const ImageMatrix &m, PageSize page)
{
    MaskPlacement placement;
    const double det = m[0] * m[3] - m[1] * m[2];
    if (!(std::fabs(det) >= 0.000001)) {
        placement.singular = true;
        return placement;
    }
    const bool rot = std::fabs(m[1]) > std::fabs(m[0]);
    // Not singular, so the divisor (m1 when turned, else m0) and both scales are non-zero.
    double xScale, yScale, xShear, yShear;
    if (rot) {
        xScale = -m[1];
        yScale = -m[2] + m[0] * m[3] / m[1];
        xShear = m[3] / yScale;
        yShear = -m[0] / m[1];
    } else {
        xScale = m[0];
        yScale = -m[3] + m[1] * m[2] / m[0];
        xShear = -m[2] / yScale;
        yShear = m[1] / m[0];
    }
    const int64_t tx = roundCoordinate(m[2] + m[4]);
    const int64_t ty = roundCoordinate(m[3] + m[5]);
    const auto sw = static_cast<int64_t>(std::ceil(bounded(std::fabs(xScale))));
    const auto sh = static_cast<int64_t>(std::ceil(bounded(std::fabs(yScale))));
    const int64_t xSign = xScale < 0 ? -1 : 1;
    const int64_t ySign = yScale < 0 ? -1 : 1;
    xShear = bounded(xShear);
    yShear = bounded(yShear);

    const int64_t urx = xSign * (sw - 1);
    const int64_t llx = roundCoordinate(xShear * static_cast<double>(ySign * (sh - 1)));
    const int64_t lrx = urx + llx;
    const int64_t cornersX[] = {0, urx, llx, lrx};
    const int64_t cornersY[] = {0, roundCoordinate(yShear * static_cast<double>(urx)),
                                ySign * (sh - 1) + roundCoordinate(yShear * static_cast<double>(llx)),
                                ySign * (sh - 1) + roundCoordinate(yShear * static_cast<double>(lrx))};
    Box box{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    for (int k = 0; k < 4; ++k) {
        const int64_t x = rot ? tx + cornersY[k] : tx + cornersX[k];
        const int64_t y = rot ? ty - cornersX[k] : ty + cornersY[k];
        box = {std::min(box.xMin, x), std::min(box.yMin, y), std::max(box.xMax, x), std::max(box.yMax, y)};
    }
    static_cast<ImagePlacement &>(placement) = clipped(box, page);
    placement.visible = placement.visible && sw > 0 && sh > 0;
    placement.orientation = orientationOf(m);
    return placement;
}

} // namespace quarnel::capture
