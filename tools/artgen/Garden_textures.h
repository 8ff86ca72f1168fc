// The painted textures of the garden model: lawn, soil, bark, leaf clusters,
// flower heads, grass tufts, stone and lily pads. Lit textures are painted
// bright because the light scales them down on the ground; tiling textures
// wrap without a seam.
#pragma once
#include "Image.h"

class Garden_textures {
public:
    static Image lawn();          // 256 x 256, tiles
    static Image soil();          // 256 x 64, tiles across; top row is the lawn's rim
    static Image bark();          // 128 x 256, tiles both ways
    static Image leaves(int variant);  // 256 x 256, a round cluster, hard alpha
    static Image flowers();       // 256 x 256: four heads in 2 x 2 cells, hard alpha
    static Image tuft();          // 128 x 128: a clump of blades standing on the bottom row
    static Image stone();         // 128 x 128, tiles across
    static Image lily();          // 256 x 128: a pad (left) and a water-lily (right)
};
