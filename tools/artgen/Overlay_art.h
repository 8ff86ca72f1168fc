// The "nn" model of main.pak: the overlay that stands in view for the last
// third of every minute. The name "Gardenlume" in glowing lettering on a
// soft dark panel, framed by a garland of leaves. The scene draws it at
// scale 0.5 turned so model +y is screen down, 100 units from the eye
// (about +-103 x +-83 model units in view on a 5:4 screen), after the garden
// with the depth test on, so every mesh is blended ("#$"): blended meshes
// skip the depth test and stay whole when the tree or a butterfly is nearer.
#pragma once
#include "Art_pack.h"
#include "Lettering.h"

class Overlay_art {
public:
    static void build(Art_pack& pack, const Lettering& font);
    // Where the panel sits, model units.
    static constexpr double panel_half_width = 66.0;
    static constexpr double panel_top = 20.0;
    static constexpr double panel_bottom = 54.0;
};
