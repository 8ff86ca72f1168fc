// The ground's pieces of the garden model (the tree's are Tree_parts), one
// method per piece, each laying its meshes on the builder. The pieces with
// chance in them draw from one shared generator, so Garden_model calls them
// in a fixed order: a change of order moves every stone, flower and root
// after it.
#pragma once
#include <vector>

#include "Lawn_texture.h"
#include "Mesh_builder.h"
#include "Outline.h"
#include "Rng.h"

class Garden_parts {
public:
    Garden_parts(Mesh_builder& builder, Rng& chance) : b(builder), rng(chance) {}

    void lawn();
    void soil();   // the band of earth under the lawn's edge
    void pond();   // the water and its lily pads
    // The pond's ring of stones and the stepping stones lie in the lawn's
    // picture; only the boulders are built here.
    std::vector<Flat_stone> stones();
    // Flower clumps round the rim with grass tufts; returns the clumps' beds.
    std::vector<Point> clumps();
    // Daisies lying in the grass, painted into the lawn's picture.
    std::vector<Point> daisies();

private:
    Mesh_builder& b;
    Rng& rng;
};
