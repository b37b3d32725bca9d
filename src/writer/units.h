#pragma once
// Conversions from layout units to the units RTF wants. A layout unit is 0.29 pt, so that a
// document converted at zoom 100 has the PDF's physical size.
#include <cstdint>

namespace quarnel::writer {

// The side of Word's largest page (22 in) in layout units; a section is never larger.
inline constexpr int32_t MaxVisiblePageUnits = 5462;

// Twips (1/20 pt): 5.8 per layout unit, rounded to the nearest.
inline int64_t toTwips(int64_t units)
{
    const int64_t tenths = units * 58;
    return tenths >= 0 ? (tenths + 5) / 10 : (tenths - 5) / 10;
}

// Half-points for \fs: 0.58 per layout unit, rounded, at least 1.
inline int64_t toHalfPoints(int64_t units)
{
    const int64_t halfPoints = (units * 58 + 50) / 100;
    return halfPoints < 1 ? 1 : halfPoints;
}

// EMU (12700 per point) for shape line widths: 3683 per layout unit.
inline int64_t toEmu(int64_t units)
{
    return units * 3683;
}

} // namespace quarnel::writer
