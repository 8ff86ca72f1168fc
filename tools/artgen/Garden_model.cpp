#include "Garden_model.h"

#include <cmath>

#include "Garden_parts.h"
#include "Garden_textures.h"
#include "Lawn_texture.h"
#include "Mesh_builder.h"
#include "Rng.h"
#include "Tree_parts.h"
#include "resources/Pack_names.h"

void Garden_model::build(Art_pack& pack)
{
    Model_writer model;
    Mesh_builder b(model);
    Rng rng(2024);
    Garden_parts parts(b, rng);
    Tree_parts tree(b, rng);

    // Drawn in this order: the crown hides much of the lawn from above, and
    // whatever lies on the lawn comes after it.
    tree.crown();
    tree.rim();
    parts.lawn();
    parts.soil();
    parts.pond();
    std::vector<Flat_stone> flat_stones = parts.stones();
    std::vector<Point> beds = parts.clumps();
    std::vector<Point> daisies = parts.daisies();
    tree.trunk();

    pack.add_model(Pack_names::tree, model);
    pack.add_image("#_crown.png", Garden_textures::crown(), Image::Alpha::opaque);
    pack.add_image("#_lawn.png", Lawn_texture::paint(lawn_radius, beds, daisies, flat_stones), Image::Alpha::opaque);
    pack.add_image("#_soil.png", Garden_textures::soil(), Image::Alpha::opaque);
    pack.add_image("__lily.png", Garden_textures::lily(), Image::Alpha::hard);
    pack.add_image("#_stone.png", Garden_textures::stone(), Image::Alpha::opaque);
    pack.add_image("__tuft.png", Garden_textures::tuft(), Image::Alpha::hard);
    pack.add_image("__flowers.png", Garden_textures::flowers(), Image::Alpha::hard);
    pack.add_image("#_bark.png", Garden_textures::bark(), Image::Alpha::opaque);
    pack.add_image("__leaves1.png", Garden_textures::leaves(0), Image::Alpha::hard);
    pack.add_image("__leaves2.png", Garden_textures::leaves(1), Image::Alpha::hard);
}

bool Garden_model::over_far_rim(Vec3 p)
{
    // Height on the screen, over the distance from the eye, of a point at
    // distance `out` from the axis on the far side, `z` above the lawn.
    auto height = [](double out, double z) {
        const double scale = 2, tilt = 30 * M_PI / 180, distance = 110;
        const double y = scale * out, h = scale * z;
        return (y * std::cos(tilt) + h * std::sin(tilt)) / (distance + y * std::sin(tilt) - h * std::cos(tilt));
    };
    const double rim = lawn_radius * std::cos(M_PI / rim_segments);
    return height(std::hypot(p.x, p.y), p.z) > height(rim, 0);
}
