#pragma once
// What line shapes and the line picture agree on: clipping a line to its page and the length of
// its dashes. Layout units throughout.
#include <algorithm>

namespace quarnel::writer {

struct Segment {
    double x1, y1, x2, y2;
};

// Liang-Barsky clipping of a segment to [0, w] x [0, h]; false when nothing is left.
inline bool clipToPage(Segment &s, double w, double h)
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

// Dash and gap of a dashed pen: about 4 pt and 2.3 pt at zoom 100, longer for wide pens.
struct DashPattern {
    double dash, gap;
};

inline DashPattern dashPatternFor(int penWidth)
{
    return DashPattern{std::max(14.0, 3.0 * penWidth), std::max(8.0, 2.0 * penWidth)};
}

} // namespace quarnel::writer
