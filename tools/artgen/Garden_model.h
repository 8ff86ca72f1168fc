// The "tree" model of main.pak: the whole garden, since it is the only model
// that turns with it. A round lawn (model +Z up) with a soil rim, a plasma
// pond with lily pads and a ring of stones, boulders, stepping stones, grass
// tufts and flowers, and the tree itself: trunk, roots and a crown (an opaque
// leafy dome fringed with leaf-cluster cards). Adds the model and its
// textures to the pack.
#pragma once
#include "Art_pack.h"
#include "Mesh_builder.h"

class Garden_model {
public:
    // Model units; the scene draws the model at scale 2.
    static constexpr double lawn_radius = 15.0;
    // The soil under the lawn's rim reaches this far down, drawing in by
    // soil_inset: with the lawn it is a blunt cone, closed on top.
    static constexpr double soil_depth = 2.6;
    static constexpr double soil_inset = 0.3;
    // The rim's segments, lawn and soil alike.
    static constexpr int rim_segments = 32;
    // The pond's water: a procedural texture the saver animates. The tint
    // keeps the generator's colour offsets (about -100 to +116, wrapping at
    // 256) from wrapping but at rare peaks; its fixed grid (green 127) reads
    // as the tiles of the basin.
    static constexpr const char* pond_texture = "##Plasma64x64 ,90,150,175";

    static void build(Art_pack& pack);

    // Whether a point of the model shows above the lawn's far rim, against
    // the sky, when the garden turns it to the far side: seen as the scene
    // places the model (scale 2, its far side tilted up 30 degrees, 110
    // units from the eye), it stands higher on the screen than the middle
    // of the rim polygon's far side.
    static bool over_far_rim(Vec3 p);
};
