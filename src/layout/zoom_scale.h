#pragma once
// Page-object pixels to layout units. Every product with the zoom factor is formed in double
// precision from the single-precision factor and truncated toward zero, so that the same page
// gives the same records whatever the compiler does with float arithmetic.
#include <cmath>
#include <cstdint>
#include <limits>

namespace quarnel::layout {

// Truncates toward zero into int32; values beyond its range (enormous or corrupt coordinates)
// saturate instead of overflowing, and NaN gives 0.
inline int32_t truncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (value <= lowest)
        return std::numeric_limits<int32_t>::min();
    if (value >= highest)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

inline int32_t scaleByZoom(double pixels, float zoomFactor)
{
    return truncateToInt32(pixels * static_cast<double>(zoomFactor));
}

} // namespace quarnel::layout
