// Paths, clips and link borders of GdiOutputDev: poppler's path in user space becomes integer
// device points (path_conversion.h), then line, polygon and region primitives.
#include "capture/gdi_output_dev.h"

#include "capture/engine_state.h"
#include "capture/text_geometry.h"

#include <Annot.h>
#include <GfxState.h>
#include <Page.h>

#include <algorithm>
#include <cmath>

namespace quarnel::capture {
namespace {

constexpr uint32_t LinkBorderColor = 0x00FF0000; // pure blue

uint32_t colorOf(const GfxRGB &rgb)
{
    return colorRef(colToDbl(rgb.r), colToDbl(rgb.g), colToDbl(rgb.b));
}

// The state's path in device space.
std::vector<PathSubpath> devicePath(const GfxState &state)
{
    std::vector<PathSubpath> subpaths;
    const GfxPath *path = state.getPath();
    if (!path)
        return subpaths;
    subpaths.reserve(static_cast<size_t>(std::max(path->getNumSubpaths(), 0)));
    for (int i = 0; i < path->getNumSubpaths(); ++i) {
        const GfxSubpath *subpath = path->getSubpath(i);
        PathSubpath &out = subpaths.emplace_back();
        out.closed = subpath->isClosed();
        out.points.reserve(static_cast<size_t>(std::max(subpath->getNumPoints(), 0)));
        for (int j = 0; j < subpath->getNumPoints(); ++j) {
            PathPoint &p = out.points.emplace_back();
            state.transform(subpath->getX(j), subpath->getY(j), &p.x, &p.y);
            p.curve = subpath->getCurve(j);
        }
    }
    return subpaths;
}

int subpathCount(const GfxState &state)
{
    const GfxPath *path = state.getPath();
    return path ? path->getNumSubpaths() : 0;
}

// trunc(v + 0.5) of a default-space coordinate, saturated.
int32_t linkCoordinate(double v)
{
    return roundToInt32(std::isnan(v) ? 0.0 : v);
}

} // namespace

void GdiOutputDev::stroke(GfxState *state)
{
    if (insideSoftMask())
        return;
    const ConvertedPath path = convertPath(devicePath(*state), flatness_, pageSize());
    const int32_t width = penWidth(state->getTransformedLineWidth());
    double dashStart = 0;
    const int32_t style = state->getLineDash(&dashStart).empty() ? 0 : 1;
    GfxRGB rgb;
    state->getStrokeRGB(&rgb);
    const uint32_t color = colorOf(rgb);
    DrawingSurface &surface = engineState().surface;
    beginPrimitives();
    for (const LineSegment &s : pathSegments(path))
        surface.drawLine(s.x1, s.y1, s.x2, s.y2, width, color, style);
    endPrimitives();
}

void GdiOutputDev::fill(GfxState *state)
{
    fillPath(state, platform::PolygonFillMode::Winding);
}

void GdiOutputDev::eoFill(GfxState *state)
{
    fillPath(state, platform::PolygonFillMode::Alternate);
}

void GdiOutputDev::fillPath(GfxState *state, platform::PolygonFillMode mode)
{
    if (insideSoftMask())
        return;
    const ConvertedPath path = convertClosedPath(devicePath(*state), flatness_, pageSize());
    GfxRGB rgb;
    state->getFillRGB(&rgb);
    const uint32_t color = colorOf(rgb);
    DrawingSurface &surface = engineState().surface;
    beginPrimitives();
    std::vector<PagePoint> points;
    size_t start = 0;
    for (const int32_t count : path.counts) {
        points.clear();
        for (size_t k = start; k < start + static_cast<size_t>(count); ++k)
            points.push_back({path.points[k].x, path.points[k].y});
        surface.fillPolygon(points.data(), count, static_cast<int32_t>(mode), color);
        start += static_cast<size_t>(count);
    }
    // A single shape also gets its outline, which the layout stage turns into a shape's border.
    if (subpathCount(*state) == 1)
        for (const LineSegment &s : pathSegments(path))
            surface.drawLine(s.x1, s.y1, s.x2, s.y2, 1, color, 0);
    endPrimitives();
}

void GdiOutputDev::clip(GfxState *state)
{
    clipPath(state, platform::PolygonFillMode::Winding);
}

void GdiOutputDev::eoClip(GfxState *state)
{
    clipPath(state, platform::PolygonFillMode::Alternate);
}

void GdiOutputDev::clipPath(GfxState *state, platform::PolygonFillMode mode)
{
    const ConvertedPath path = convertClosedPath(devicePath(*state), flatness_, pageSize());
    replaceClipRegion(clip_.intersected(capture::clipRegion(path, mode)));
    engineState().surface.setClipRegion(&clipRegion_);
}

bool GdiOutputDev::tilingPatternFill(GfxState *, Gfx *, Catalog *, GfxTilingPattern *, const double *, int x0, int y0,
                                     int x1, int y1, double, double)
{
    const int64_t tiles = std::max<int64_t>(int64_t{x1} - x0, 0) * std::max<int64_t>(int64_t{y1} - y0, 0);
    return tiles > MaxPatternTiles; // true: done (left out); false: poppler draws the tiles
}

void GdiOutputDev::beginTransparencyGroup(GfxState *, const double *, GfxColorSpace *, bool, bool, bool forSoftMask)
{
    transparencyGroups_.push_back(forSoftMask);
    softMaskGroups_ += forSoftMask ? 1 : 0;
}

void GdiOutputDev::endTransparencyGroup(GfxState *)
{
    if (transparencyGroups_.empty())
        return;
    softMaskGroups_ -= transparencyGroups_.back() ? 1 : 0;
    transparencyGroups_.pop_back();
}

void GdiOutputDev::processLink(AnnotLink *link)
{
    const AnnotBorder *border = link ? link->getBorder() : nullptr;
    const double borderWidth = border ? border->getWidth() : 0;
    if (!(borderWidth > 0))
        return;
    const PDFRectangle &r = link->getRect();
    const double *m = getDefCTM();
    const double corners[5][2] = {{r.x1, r.y1}, {r.x2, r.y1}, {r.x2, r.y2}, {r.x1, r.y2}, {r.x1, r.y1}};
    DevicePoint points[5];
    for (int i = 0; i < 5; ++i) {
        const double x = corners[i][0], y = corners[i][1];
        points[i] = {linkCoordinate(m[0] * x + m[2] * y + m[4]), linkCoordinate(m[1] * x + m[3] * y + m[5])};
    }
    const int32_t width = truncateToInt32(std::isnan(borderWidth) ? 0.0 : borderWidth + 0.5);
    DrawingSurface &surface = engineState().surface;
    beginPrimitives();
    for (int i = 0; i < 4; ++i)
        surface.drawLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, width, LinkBorderColor, 0);
    endPrimitives();
}

} // namespace quarnel::capture
