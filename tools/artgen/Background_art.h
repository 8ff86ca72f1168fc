// The "fon" model of main.pak: one picture on a quad far behind the garden,
// a sky over layered hills and a meadow. The scene turns it 180 degrees
// about Y and Z (model +y ends up screen down) at scale (4, 3, 3), 200 units
// from the eye, so the quad is authored with its top edge at -y.
#pragma once
#include "Art_pack.h"

class Background_art {
public:
    // Half sizes of the quad in model units: wide enough for 16:10 screens
    // (about +-33 x), tall enough for 5:4 (about +-28 y), with a margin.
    static constexpr double half_width = 36.0;
    static constexpr double half_height = 30.0;

    static void build(Art_pack& pack);
};
