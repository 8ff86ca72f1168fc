// Where the wing lies in its texture, shared by the wing's painting, the
// marks each species adds and the wing's model: the picture covers x from
// -11 to 7 (tail to head) and y from 0 (the hinge) to 18 (beyond the tip);
// its top row is the wing's far edge.
#pragma once
#include "Outline.h"

struct Wing_frame {
    static constexpr double x0 = -11, x1 = 7, y1 = 18;
    static constexpr int px = 256;  // painted size, square
    static constexpr double px_per_unit = px / (x1 - x0);

    static Point to_pixel(Point p) { return Point{(p.x - x0) * px_per_unit, (y1 - p.y) * px_per_unit}; }
    static Point to_wing(double px, double py) { return Point{x0 + px / px_per_unit, y1 - py / px_per_unit}; }
};
