// The painted textures of the garden model besides the lawn's picture
// (Lawn_texture): soil, bark, leaf clusters, flower heads, grass tufts,
// stone and lily pads. The light scales lit textures down on the ground and
// up in the crown, so the ground is painted bright and the leaves dark;
// repeating textures wrap without a seam.
#pragma once
#include "Image.h"

class Garden_textures {
public:
    static Image soil();          // 256 x 64, tiles across; top row is the lawn's rim
    static Image bark();          // 128 x 256, tiles both ways
    static Image leaves(int variant);  // 128 x 128 (painted at 256), a round cluster
    // 256 x 256 (painted at 512): the crown's leaf clusters laid out round
    // its top, the middle of the picture; the rim of the disc is the crown's
    // lowest leaves, darker, the top lighter.
    static Image crown();
    static Image flowers();       // 256 x 256: four bunches of seven heads, one kind each, in 2 x 2 cells
    static Image tuft();          // 64 x 64: a clump of blades standing on the bottom row
    static Image stone();         // 128 x 128, tiles across
    static Image lily();          // 128 x 64: a pad (left) and a water-lily (right)
};
