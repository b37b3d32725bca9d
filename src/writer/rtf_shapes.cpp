#include "writer/rtf_shapes.h"

#include "writer/line_geometry.h"
#include "writer/line_raster.h"
#include "writer/png_encoder.h"
#include "writer/rtf_text.h"
#include "writer/units.h"

#include <algorithm>
#include <cmath>

namespace quarnel::writer {
namespace {

// A very long dashed line gets longer dashes rather than thousands of shapes.
constexpr int MaxDashes = 400;
// Hairline width for pens thinner than one unit: 0.25 pt.
constexpr int64_t HairlineEmu = 3175;

void appendProperty(std::string &out, const char *name, long long value)
{
    out += "{\\sp{\\sn ";
    out += name;
    out += "}{\\sv ";
    appendNumber(out, value);
    out += "}}";
}

// The common head of a shape: its box in twips relative to the page, no wrapping.
void appendShapeStart(std::string &out, int64_t left, int64_t top, int64_t right, int64_t bottom, bool behindText,
                      ShapeCounter &ids)
{
    const int id = ids.next();
    out += "{\\shp{\\*\\shpinst\\shpleft";
    appendNumber(out, left);
    out += "\\shptop";
    appendNumber(out, top);
    out += "\\shpright";
    appendNumber(out, right);
    out += "\\shpbottom";
    appendNumber(out, bottom);
    out += "\\shpfhdr0\\shpbxpage\\shpbxignore\\shpbypage\\shpbyignore\\shpwr3\\shpwrk0\\shpfblwtxt";
    out += behindText ? '1' : '0';
    out += "\\shpz";
    appendNumber(out, id);
    out += "\\shplid";
    appendNumber(out, 1024 + id);
    out += '\n';
    appendProperty(out, "posrelh", 1);
    appendProperty(out, "posrelv", 1);
    appendProperty(out, "fBehindDocument", behindText ? 1 : 0);
}

void appendHex(std::string &out, const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    out.reserve(out.size() + bytes.size() * 2 + bytes.size() / 64 + 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out += digits[byte >> 4];
        out += digits[byte & 15];
        if (i % 64 == 63)
            out += '\n';
    }
}

void appendLineShape(std::string &out, const Segment &s, int64_t widthEmu, int32_t color, ShapeCounter &ids)
{
    // Dash ends fall between units; round only once, in twips.
    const auto toBox = [](double units) { return static_cast<int64_t>(std::llround(units * 5.8)); };
    const int64_t x1 = toBox(s.x1), y1 = toBox(s.y1), x2 = toBox(s.x2), y2 = toBox(s.y2);
    appendShapeStart(out, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), false, ids);
    appendProperty(out, "shapeType", 20);
    // A line runs from the box's top left to its bottom right; a rising one needs a flip.
    if ((x2 < x1) != (y2 < y1) && x1 != x2 && y1 != y2)
        appendProperty(out, "fFlipH", 1);
    appendProperty(out, "lineColor", color & 0xFFFFFF);
    appendProperty(out, "lineWidth", widthEmu);
    appendProperty(out, "fLine", 1);
    out += "}}\n";
}

// The part of a picture that lies on its page, in layout units, and the pixels that show it.
// Writer moves a shape that sticks out of the page back inside, so the rest is cut off here.
struct Placement {
    double left, top, right, bottom;
    PixelRect crop;
};

std::optional<Placement> visiblePart(const layout::PictureRecordBody &picture, const BitmapShape &shape,
                                     int32_t pageWidth, int32_t pageHeight)
{
    const double x = picture.x, y = picture.y;
    const double width = std::max(picture.width, 1), height = std::max(picture.height, 1);
    const double left = std::max(x, 0.0), top = std::max(y, 0.0);
    const double right = std::min(x + width, double(std::max(pageWidth, 1)));
    const double bottom = std::min(y + height, double(std::max(pageHeight, 1)));
    if (left >= right || top >= bottom)
        return std::nullopt;
    // Pixels per unit; the kept pixels may reach a fraction of a pixel past the page edge.
    const double scaleX = shape.width / width, scaleY = shape.height / height;
    PixelRect crop;
    crop.left = std::clamp(int32_t(std::floor((left - x) * scaleX)), 0, shape.width - 1);
    crop.top = std::clamp(int32_t(std::floor((top - y) * scaleY)), 0, shape.height - 1);
    crop.right = std::clamp(int32_t(std::ceil((right - x) * scaleX)), crop.left + 1, shape.width);
    crop.bottom = std::clamp(int32_t(std::ceil((bottom - y) * scaleY)), crop.top + 1, shape.height);
    return Placement{x + crop.left / scaleX, y + crop.top / scaleY, std::min(x + crop.right / scaleX, right),
                     std::min(y + crop.bottom / scaleY, bottom), crop};
}

// A picture shape behind the text showing `png` (pixelWidth × pixelHeight) in the given box,
// twips relative to the page.
void appendPngShape(std::string &out, const std::string &png, int32_t pixelWidth, int32_t pixelHeight, int64_t left,
                    int64_t top, int64_t right, int64_t bottom, ShapeCounter &ids)
{
    appendShapeStart(out, left, top, right, bottom, true, ids);
    appendProperty(out, "shapeType", 75);
    appendProperty(out, "fLine", 0);
    out += "{\\sp{\\sn pib}{\\sv {\\pict\\pngblip\\picw";
    appendNumber(out, pixelWidth);
    out += "\\pich";
    appendNumber(out, pixelHeight);
    out += "\\picwgoal";
    appendNumber(out, right - left);
    out += "\\pichgoal";
    appendNumber(out, bottom - top);
    out += '\n';
    appendHex(out, png);
    out += "}}}}}\n";
}

// The line's pen and its part on the page; false when none of it is on the page.
bool visibleLine(const layout::ShapeRecordBody &line, int32_t pageWidth, int32_t pageHeight, Segment &whole)
{
    whole = Segment{double(line.x), double(line.y), double(line.x) + line.dx, double(line.y) + line.dy};
    return clipToPage(whole, std::max(pageWidth, 1), std::max(pageHeight, 1));
}

// Dash and gap of a dashed line of this length, stretched so that it needs at most MaxDashes.
DashPattern shapeDashes(const layout::ShapeRecordBody &line, double length)
{
    DashPattern pattern = dashPatternFor(line.penWidth);
    if (length / (pattern.dash + pattern.gap) > MaxDashes) {
        const double scale = length / (pattern.dash + pattern.gap) / MaxDashes;
        pattern.dash *= scale;
        pattern.gap *= scale;
    }
    return pattern;
}

} // namespace

bool appendPictureShape(std::string &out, const layout::PictureRecordBody &picture, int32_t pageWidth,
                        int32_t pageHeight, ShapeCounter &ids)
{
    const std::optional<BitmapShape> shape = checkBitmap(picture.data);
    if (!shape)
        return false;
    const std::optional<Placement> placement = visiblePart(picture, *shape, pageWidth, pageHeight);
    if (!placement)
        return true; // entirely off the page: nothing to show
    const std::string png = encodePng(picture.data, *shape, placement->crop);
    if (png.empty())
        return false;
    const auto twips = [](double units) { return static_cast<int64_t>(std::llround(units * 5.8)); };
    const int64_t left = twips(placement->left), top = twips(placement->top);
    const int64_t right = std::max(twips(placement->right), left + 1), bottom = std::max(twips(placement->bottom), top + 1);
    appendPngShape(out, png, placement->crop.width(), placement->crop.height(), left, top, right, bottom, ids);
    return true;
}

int lineShapeCount(const layout::ShapeRecordBody &line, int32_t pageWidth, int32_t pageHeight)
{
    Segment whole;
    if (!visibleLine(line, pageWidth, pageHeight, whole))
        return 0;
    const double length = std::hypot(whole.x2 - whole.x1, whole.y2 - whole.y1);
    if (line.penStyle != 1 || length <= 0)
        return 1;
    const DashPattern pattern = shapeDashes(line, length);
    return std::max(1, int(std::ceil(length / (pattern.dash + pattern.gap))));
}

void appendLineShapes(std::string &out, const layout::ShapeRecordBody &line, int32_t pageWidth,
                      int32_t pageHeight, ShapeCounter &ids)
{
    Segment whole;
    if (!visibleLine(line, pageWidth, pageHeight, whole))
        return;
    const int64_t widthEmu = std::max(toEmu(std::max(line.penWidth, 0)), HairlineEmu);
    const double length = std::hypot(whole.x2 - whole.x1, whole.y2 - whole.y1);
    if (line.penStyle != 1 || length <= 0) {
        appendLineShape(out, whole, widthEmu, line.color, ids);
        return;
    }
    const DashPattern pattern = shapeDashes(line, length);
    const double ux = (whole.x2 - whole.x1) / length, uy = (whole.y2 - whole.y1) / length;
    for (double start = 0; start < length; start += pattern.dash + pattern.gap) {
        const double end = std::min(start + pattern.dash, length);
        appendLineShape(out,
                        Segment{whole.x1 + ux * start, whole.y1 + uy * start, whole.x1 + ux * end, whole.y1 + uy * end},
                        widthEmu, line.color, ids);
    }
}

bool appendLinePicture(std::string &out, const std::vector<const layout::ShapeRecordBody *> &lines,
                       int32_t pageWidth, int32_t pageHeight, ShapeCounter &ids)
{
    // The section's page is at most 22 in square; nothing beyond it can be seen.
    const int32_t width = std::clamp<int32_t>(pageWidth, 1, MaxVisiblePageUnits);
    const int32_t height = std::clamp<int32_t>(pageHeight, 1, MaxVisiblePageUnits);
    std::string png;
    int32_t pixelWidth = 0, pixelHeight = 0;
    {
        LineRaster raster(width, height); // freed before the page's text is written
        for (const layout::ShapeRecordBody *line : lines)
            raster.draw(*line);
        if (!raster.inked())
            return true;
        png = raster.encodePng();
        pixelWidth = raster.pixelWidth();
        pixelHeight = raster.pixelHeight();
    }
    if (png.empty())
        return false;
    appendPngShape(out, png, pixelWidth, pixelHeight, 0, 0, toTwips(width), toTwips(height), ids);
    return true;
}

} // namespace quarnel::writer
