// The sky around a hole: triangles covering a rectangle less a convex
// polygon inside it, laid so that the edges between the triangles cross as
// little of the screen as possible.
//
// Software GL shades every 4x4 block an edge crosses once for each triangle
// beside it, so an edge between two sky triangles costs about a quarter of
// its length in pixels shaded twice; edges off the screen cost nothing.
// Among the triangulations of the rectangle less the hole (with short
// vertical cuts from the hole's top and bottom to the rectangle's edges,
// which make two simple polygons), the one whose inner edges are shortest on
// the screen is found exactly by dynamic programming over each half.
#pragma once
#include <array>
#include <vector>

#include "Outline.h"

class Sky_cut {
public:
    using Triangle = std::array<Point, 3>;

    // What a 4:3 window shows of the picture, in its units (half sizes), and
    // how many pixels a unit is there at 1024x768: the cost of an edge is its
    // length on that screen, in pixels across plus pixels down.
    struct Screen {
        double half_w, half_h, px_per_x, px_per_y;
    };

    // The rectangle is [-w, w] x [-h, h]; the hole is convex, strictly inside
    // it, with an even number of corners going top (least y), right, bottom
    // (the corner half way round), left. Empty when no triangulation exists
    // (a hole of fewer than four corners, or not inside the rectangle).
    static std::vector<Triangle> around(const std::vector<Point>& hole, double w, double h, const Screen& screen);

    // Pixels across plus pixels down of the part of a-b on the screen.
    static double screen_length(Point a, Point b, const Screen& screen);
};
