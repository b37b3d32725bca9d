#pragma once
// The arithmetic of one recorded character: angle, em height and slant from the font matrix,
// the rounded orientation, the move of vertical punctuation, and the Unicode conversions. Kept
// apart from the device so that each rule can be checked on numbers alone.
#include <cstdint>
#include <string>
#include <string_view>

namespace quarnel::capture {

// The font transformation matrix (text matrix x CTM x font size) in device space, y down.
struct FontMatrix {
    double m11 = 0, m12 = 0, m21 = 0, m22 = 0;
};

// Baseline angle in degrees, counter-clockwise on the page; 0 for a degenerate matrix.
double textAngleDegrees(const FontMatrix &m);
// Em height in pixels: the length of the transformed unit vertical vector, truncated.
int32_t fontHeightPixels(const FontMatrix &m);
// True when the images of the unit vectors are not at a right angle (a sheared text matrix).
bool isSlanted(const FontMatrix &m);

// Saturating conversions to int32: the values come from untrusted matrices.
int32_t truncateToInt32(double value);
int32_t roundToInt32(double value); // trunc(value + 0.5)

// The angle rounded to whole degrees, halves upward (-90.0 stays -90).
int32_t roundedAngle(double angleDegrees);
// Orientation in tenths of a degree, 0..3599: the rounded angle plus 2700 for a vertical ("@")
// face of at least two characters.
int32_t orientationTenths(int32_t roundedAngleDegrees, std::string_view faceName);

// True for the first unit of a character that a vertical face draws turned: ideographic
// punctuation U+3001..U+300F, the prolonged sound mark U+30FC and the full-width forms.
bool isVerticalPunctuation(char16_t firstUnit);
// Moves vertical punctuation from its horizontal origin to where a vertical face expects it.
void moveVerticalPunctuation(int32_t &x, int32_t &y, int32_t advance, int32_t height, int32_t roundedAngleDegrees);

// UTF-16 from 32-bit code points; values that are not Unicode scalar values are dropped.
std::u16string toUtf16(const unsigned int *codePoints, int count);
// A lone U+FB01 becomes "fi"; anything else is returned unchanged.
std::u16string expandFiLigature(std::u16string text);
// UTF-8 for drawing with the platform's text functions.
std::string utf16ToUtf8(std::u16string_view text);

// 0x00BBGGRR from components in 0..1: trunc(c x 65535) >> 8 each.
uint32_t colorRef(double red, double green, double blue);

} // namespace quarnel::capture
