#include "capture/text_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarnel::capture {
namespace {

constexpr double radiansToDegrees = 57.295779;
constexpr double degreesToRadians = 0.017453292519444445;
constexpr double tiny = 1e-6;

bool degenerate(double a, double b)
{
    return std::fabs(a) < tiny && std::fabs(b) < tiny;
}

int32_t colorComponent(double c)
{
    c = std::clamp(std::isnan(c) ? 0.0 : c, 0.0, 1.0);
    return static_cast<int32_t>(c * 65535) >> 8;
}

} // namespace

int32_t truncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(value, low, high));
}

int32_t roundToInt32(double value)
{
    return truncateToInt32(value + 0.5);
}

double textAngleDegrees(const FontMatrix &m)
{
    if (degenerate(m.m11, m.m12))
        return 0;
    return std::atan2(-m.m12, m.m11) * radiansToDegrees;
}

int32_t fontHeightPixels(const FontMatrix &m)
{
    const double length = degenerate(m.m21, m.m22) ? 1.0 : std::hypot(m.m21, m.m22);
    return truncateToInt32(std::max(1000 * length, 1.0) * 0.001);
}

bool isSlanted(const FontMatrix &m)
{
    if (std::fabs(m.m12) < 0.0001 && std::fabs(m.m21) < 0.0001)
        return false;
    double a = degenerate(m.m11, m.m12) ? 0 : std::atan2(m.m12, m.m11);
    const double b = degenerate(m.m21, m.m22) ? 0 : std::atan2(m.m22, m.m21);
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    while (a < b)
        a += 6.28318530718;
    return std::fabs(a - b - 1.5707963268) >= 1e-6;
}

// Rounded half up with floor, not trunc(angle + 0.5): truncation toward zero would turn
// -90 degrees into -89 and text set at 270 degrees into orientation 2711.
int32_t roundedAngle(double angleDegrees)
{
    return truncateToInt32(std::floor(angleDegrees + 0.5));
}

int32_t orientationTenths(int32_t roundedAngleDegrees, std::string_view faceName)
{
    const int32_t escapement = (faceName.size() >= 2 && faceName.front() == '@') ? 2700 : 0;
    // Angles come from atan2, so they lie in -180..180 and the sum fits easily.
    int32_t orientation = roundedAngleDegrees * 10 + escapement;
    if (orientation < 0)
        orientation += 3600;
    else if (orientation >= 3600)
        orientation -= 3600;
    return orientation;
}

bool isVerticalPunctuation(char16_t firstUnit)
{
    return (firstUnit >= 0x3001 && firstUnit <= 0x300F) || firstUnit == 0x30FC || firstUnit >= 0xFF00;
}

void moveVerticalPunctuation(int32_t &x, int32_t &y, int32_t advance, int32_t height, int32_t roundedAngleDegrees)
{
    const double theta = roundedAngleDegrees * degreesToRadians;
    x = truncateToInt32(x - std::sin(theta) * advance);
    y = truncateToInt32(y - std::cos(theta) * height);
    int32_t c = roundedAngleDegrees % 360;
    if (c < 0)
        c += 360;
    const int32_t h8 = height / 8;
    const int32_t a8 = advance / 8;
    if (c <= 45 || c > 315) {
        x += h8;
        y += a8;
    } else if (c <= 135) {
        x += h8;
        y -= a8;
    } else {
        x -= h8;
        y += a8;
    }
}

std::u16string toUtf16(const unsigned int *codePoints, int count)
{
    std::u16string text;
    for (int i = 0; codePoints && i < count; ++i) {
        const unsigned int c = codePoints[i];
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            continue;
        if (c < 0x10000) {
            text.push_back(static_cast<char16_t>(c));
        } else {
            text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return text;
}

std::u16string expandFiLigature(std::u16string text)
{
    if (text.size() == 1 && text[0] == 0xFB01)
        return u"fi";
    return text;
}

std::string utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

uint32_t colorRef(double red, double green, double blue)
{
    return static_cast<uint32_t>(colorComponent(red)) | static_cast<uint32_t>(colorComponent(green)) << 8 |
           static_cast<uint32_t>(colorComponent(blue)) << 16;
}

} // namespace quarnel::capture
