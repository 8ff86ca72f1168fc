// The background's picture: a sky over layered hills and a meadow, painted
// whole in the background quad's own units and laid on the quad by position.
// Plain OpenGL 1.1 takes no texture over 1024 on a side, so the picture is
// stored as two tiles, its left and right halves.
#pragma once
#include "Image.h"

class Background_picture {
public:
    // Each tile is 1024 x 1024; the column where they meet (x = 0) is in
    // both, so either side samples the same colour there.
    static constexpr int tile_w = 1024, tile_h = 1024;
    static constexpr int width = 2 * tile_w - 1, height = tile_h;

    // Texels a model unit, across and down. Texel centres lie on the quad's
    // edges, so linear filtering never reaches round to the far side of a
    // tile (the wrap mode stays the default, repeat).
    static double per_x();
    static double per_y();

    static Image paint();
};
