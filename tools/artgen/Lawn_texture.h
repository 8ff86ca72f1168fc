// The lawn's picture, 512 x 512 over the whole lawn, x and y from -radius to
// radius (image top at +y), about one texel per screen pixel so the grass
// does not shimmer: the tree's shadow, bare soil round the trunk and under
// the flower beds, mowing stripes, and the daisies and stepping stones lying
// in the grass. Painted layer by layer, ground first.
#pragma once
#include <vector>

#include "Image.h"
#include "Outline.h"

// A stone lying flush with the lawn, painted into its picture: centre and
// radii in model units, turned by turn radians.
struct Flat_stone {
    Point at;
    double rx, ry, turn;
};

class Lawn_texture {
public:
    static Image paint(double radius, const std::vector<Point>& beds, const std::vector<Point>& daisies,
                       const std::vector<Flat_stone>& stones);
};
