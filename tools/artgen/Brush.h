// The painters' shared strokes in pixel coordinates: leaves, grass blades,
// petals and lines, each a soft-edged shape laid over an Image.
#pragma once
#include "Image.h"

class Brush {
public:
    // A pointed leaf from its base (x, y) along angle (radians, 0 = +x),
    // lighter along one side, with a midrib.
    static void leaf(Image& img, double x, double y, double angle, double length, double width,
                     const Rgba& colour, const Rgba& rib, bool wrap = false);
    // A tapering blade from (x, y) along angle, curving by bend radians.
    static void blade(Image& img, double x, double y, double angle, double length, double width,
                      double bend, const Rgba& colour, bool wrap = false);
    // A rounded petal from the flower centre: an ellipse whose near end sits
    // at inner and far end at inner + length.
    static void petal(Image& img, double cx, double cy, double angle, double inner, double length,
                      double width, const Rgba& base, const Rgba& tip);
    // A line of the given width with round ends.
    static void line(Image& img, double x0, double y0, double x1, double y1, double width,
                     const Rgba& colour, bool wrap = false);
};
