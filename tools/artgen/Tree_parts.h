// The tree's pieces: its crown, the leaf clusters round the crown's rim, and
// the trunk with its roots, each laying its meshes on the builder. The trunk
// draws from the garden's shared generator (see Garden_parts).
#pragma once
#include "Mesh_builder.h"
#include "Rng.h"

class Tree_parts {
public:
    Tree_parts(Mesh_builder& builder, Rng& chance) : b(builder), rng(chance) {}

    void crown();  // the opaque leafy dome
    void rim();    // leaf-cluster cards fringing the dome (seeded on their own)
    void trunk();  // with its flared foot and roots

private:
    Mesh_builder& b;
    Rng& rng;
};
