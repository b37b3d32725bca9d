#include "writer/rtf_shapes.h"

#include "writer/png_encoder.h"
#include "writer/rtf_text.h"
#include "writer/units.h"

#include <algorithm>
#include <cmath>

namespace quarnel::writer {
namespace {

// Dash and gap lengths in layout units (about 4 pt and 2.3 pt at zoom 100), longer for wide pens.
constexpr double MinDash = 14.0;
constexpr double MinGap = 8.0;
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

struct Segment {
    double x1, y1, x2, y2;
};

// Liang-Barsky clipping of a segment to [0, w] x [0, h]; false when nothing is left.
bool clipToPage(Segment &s, double w, double h)
{
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x1, w - s.x1, s.y1, h - s.y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    s = Segment{s.x1 + t0 * dx, s.y1 + t0 * dy, s.x1 + t1 * dx, s.y1 + t1 * dy};
    return true;
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
    appendShapeStart(out, left, top, right, bottom, true, ids);
    appendProperty(out, "shapeType", 75);
    appendProperty(out, "fLine", 0);
    out += "{\\sp{\\sn pib}{\\sv {\\pict\\pngblip\\picw";
    appendNumber(out, placement->crop.width());
    out += "\\pich";
    appendNumber(out, placement->crop.height());
    out += "\\picwgoal";
    appendNumber(out, right - left);
    out += "\\pichgoal";
    appendNumber(out, bottom - top);
    out += '\n';
    appendHex(out, png);
    out += "}}}}}\n";
    return true;
}

void appendLineShapes(std::string &out, const layout::ShapeRecordBody &line, int32_t pageWidth,
                      int32_t pageHeight, ShapeCounter &ids)
{
    Segment whole{double(line.x), double(line.y), double(line.x) + line.dx, double(line.y) + line.dy};
    if (!clipToPage(whole, std::max(pageWidth, 1), std::max(pageHeight, 1)))
        return;
    const int64_t widthEmu = std::max(toEmu(std::max(line.penWidth, 0)), HairlineEmu);
    const double length = std::hypot(whole.x2 - whole.x1, whole.y2 - whole.y1);
    if (line.penStyle != 1 || length <= 0) {
        appendLineShape(out, whole, widthEmu, line.color, ids);
        return;
    }
    double dash = std::max(MinDash, 3.0 * line.penWidth);
    double gap = std::max(MinGap, 2.0 * line.penWidth);
    if (length / (dash + gap) > MaxDashes) {
        const double scale = length / (dash + gap) / MaxDashes;
        dash *= scale;
        gap *= scale;
    }
    const double ux = (whole.x2 - whole.x1) / length, uy = (whole.y2 - whole.y1) / length;
    for (double start = 0; start < length; start += dash + gap) {
        const double end = std::min(start + dash, length);
        appendLineShape(out,
                        Segment{whole.x1 + ux * start, whole.y1 + uy * start, whole.x1 + ux * end, whole.y1 + uy * end},
                        widthEmu, line.color, ids);
    }
}

} // namespace quarnel::writer
