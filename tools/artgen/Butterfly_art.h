// The five butterfly packs: for each species a wing ("krilo", fore- and
// hindwing in one outline, hinged on the X axis and reaching out along +Y,
// upper side painted) and a body ("brushko": abdomen, thorax, head and
// antennae along X, head towards +X, up +Z), each with its own textures.
#pragma once
#include <string>

#include "Art_pack.h"
#include "resources/Pack_names.h"

class Butterfly_art {
public:
    // The scene picks among exactly five packs. A wing reaches about 15.5
    // model units along +Y; at the scene's scale 0.2 two span about six.
    static constexpr int species_count = int(Pack_names::butterfly_pack_count);

    // Pack file name of species index 0 to 4: "butterfly1.pak" and so on.
    static std::string pack_name(int species);
    static void build(int species, Art_pack& pack);
};
