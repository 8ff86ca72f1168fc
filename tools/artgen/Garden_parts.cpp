#include "Garden_parts.h"

#include <cmath>

#include "Garden_model.h"

namespace {
const double R = Garden_model::lawn_radius;

struct Pond {
    double x, y, rx, ry;
    // How far outside the water (in units of its radii) a point lies: below 1 is water.
    double reach(double px, double py) const
    {
        double dx = (px - x) / rx, dy = (py - y) / ry;
        return std::sqrt(dx * dx + dy * dy);
    }
};
// The pond: centre and radii, model units.
const Pond water{-7.4, -6.2, 3.3, 2.5};

// A stone: a flattened, slightly lumpy ellipsoid sunk a little into the lawn.
// Small stones take few facets: every triangle costs frame time, and a stone
// a dozen pixels across looks as round with five sides as with nine.
void stone(Mesh_builder& b, Vec3 at, double rx, double ry, double rz, double turn, int slices = 6,
           int stacks = 2)
{
    double ct = std::cos(turn), st = std::sin(turn);
    auto corner = [&](int i, int s) {
        double theta = M_PI * 0.62 * i / stacks, phi = 2 * M_PI * s / slices;
        double lump = 1 + 0.12 * std::sin(3 * phi + turn * 5) * std::sin(theta);
        double x = rx * lump * std::sin(theta) * std::cos(phi), y = ry * lump * std::sin(theta) * std::sin(phi);
        return Vec3{at.x + x * ct - y * st, at.y + x * st + y * ct,
                    at.z + rz * std::cos(theta) - rz * 0.35};
    };
    auto uv = [&](int i, int s) { return Uv{2.0 * s / slices, 0.5 * i / stacks}; };
    for (int i = 0; i < stacks; ++i)
        for (int s = 0; s < slices; ++s) {
            if (i == 0)
                b.triangle(corner(0, s), corner(1, s), corner(1, s + 1), uv(0, s), uv(1, s), uv(1, s + 1));
            else
                b.quad(corner(i, s), corner(i + 1, s), corner(i + 1, s + 1), corner(i, s + 1), uv(i, s),
                       uv(i + 1, s), uv(i + 1, s + 1), uv(i, s + 1));
        }
}

// Two crossed upright cards of the grass tuft texture, its bottom row on the ground.
void tuft(Mesh_builder& b, Vec3 at, double size, double turn)
{
    for (int k = 0; k < 2; ++k) {
        Vec3 side = horizontal(turn + k * M_PI / 2, size * 0.55);
        b.card(at + Vec3{0, 0, size * 0.5}, side, Vec3{0, 0, -size * 0.5});
    }
}

bool clear_of_pond(double x, double y, double margin) { return water.reach(x, y) > 1 + margin; }

struct Clump {
    Vec3 at;
    int kind;
};

// Tufts among the clumps, by the boulders and round the pond.
void tufts(Mesh_builder& b, Rng& rng, const std::vector<Clump>& clumps)
{
    b.mesh("__tuft.png");
    // Where the garden turns it to the far rim, a tuft's top would rise
    // over the lawn's edge, and its blade tips show against the sky as
    // specks floating above the lawn: it is drawn in towards the middle
    // until its outer top corner stays under the rim.
    for (const Clump& c : clumps) {
        double size = rng.range(1.2, 1.7), turn = rng.range(0, M_PI);
        const double r = length(c.at), outer = 0.55 * size;
        double in = r;
        while (in > r - 2 && Garden_model::over_far_rim(Vec3{in + outer, 0, size})) in -= 0.05;
        tuft(b, c.at * (in / r), size, turn);
    }
    // Tufts by the boulders and the pond.
    tuft(b, Vec3{9.4, 7.3, 0}, 1.3, 0.3);
    tuft(b, Vec3{7.2, 5.0, 0}, 1.1, 1.0);
    tuft(b, Vec3{11.0, 5.6, 0}, 1.0, 0.7);
    for (int i = 0; i < 5; ++i) {
        double a = 0.9 + i * 0.45;
        double size = rng.range(0.9, 1.4), turn = rng.range(0, M_PI);
        tuft(b, Vec3{water.x + std::cos(a) * (water.rx + 0.9), water.y + std::sin(a) * (water.ry + 0.9), 0},
             size, turn);
    }
}

// One card per clump carries its whole bunch of heads, lying flat: a few
// large triangles cost far less than many small ones. Each kind is one of
// the four cells of the flower atlas.
void flower_heads(Mesh_builder& b, Rng& rng, const std::vector<Clump>& clumps)
{
    b.mesh("__flowers.png");
    for (const Clump& c : clumps) {
        double lift = rng.range(0.9, 1.2), size = rng.range(0.95, 1.05), turn = rng.range(0, 2 * M_PI);
        double u0 = (c.kind % 2) * 0.5, v0 = (c.kind / 2) * 0.5;
        b.card(c.at + Vec3{0, 0, lift}, horizontal(turn, size), horizontal(turn + M_PI / 2, size), u0, v0,
               u0 + 0.5, v0 + 0.5);
    }
}
}  // namespace

// The lawn before everything lying on it: those are drawn after it and a
// little above, so they win the depth test even with a coarse depth buffer.
// One picture over the whole lawn (top row at +y).
void Garden_parts::lawn()
{
    b.mesh("#_lawn.png");
    b.disc(Vec3{0, 0, 0}, R, R, Garden_model::rim_segments,
           [](double x, double y) { return Uv{(x + R) / (2 * R), (R - y) / (2 * R)}; });
}

void Garden_parts::soil()
{
    b.mesh("#_soil.png");
    const int rim = Garden_model::rim_segments;
    const Vec3 down{0, 0, -Garden_model::soil_depth};
    for (int s = 0; s < rim; ++s) {
        double a0 = 2 * M_PI * s / rim, a1 = 2 * M_PI * (s + 1) / rim;
        Vec3 t0 = horizontal(a0, R), t1 = horizontal(a1, R);
        // Nearly upright and deep enough to show as a band of earth under the
        // lawn's near edge: the garden reads as an island with some body.
        Vec3 d0 = horizontal(a0, R - Garden_model::soil_inset) + down,
             d1 = horizontal(a1, R - Garden_model::soil_inset) + down;
        double u0 = 16.0 * s / rim, u1 = 16.0 * (s + 1) / rim;
        b.quad(t0, d0, d1, t1, Uv{u0, 0}, Uv{u0, 1}, Uv{u1, 1}, Uv{u1, 0});
    }
}

// The water comes from the plasma generator.
void Garden_parts::pond()
{
    b.mesh(Garden_model::pond_texture);
    b.disc(Vec3{water.x, water.y, 0.06}, water.rx, water.ry, 14, [](double x, double y) {
        return Uv{(x - water.x) / (2 * water.rx) + 0.5, (y - water.y) / (2 * water.ry) + 0.5};
    });

    b.mesh("__lily.png");
    const double pads[4][3] = {{-8.6, -6.0, 0.55}, {-6.3, -7.1, 0.45}, {-7.6, -4.9, 0.4}, {-5.9, -5.6, 0.35}};
    for (const auto& p : pads) {
        double turn = rng.range(0, 2 * M_PI);
        b.card(Vec3{p[0], p[1], 0.12}, horizontal(turn, p[2]), horizontal(turn + M_PI / 2, p[2]), 0, 0, 0.5, 1);
    }
    b.card(Vec3{-8.3, -5.8, 0.2}, horizontal(0.3, 0.36), horizontal(0.3 + M_PI / 2, 0.36), 0.5, 0, 1, 1);
    b.card(Vec3{-6.1, -5.5, 0.2}, horizontal(1.1, 0.28), horizontal(1.1 + M_PI / 2, 0.28), 0.5, 0, 1, 1);
}

std::vector<Flat_stone> Garden_parts::stones()
{
    b.mesh("#_stone.png");
    // The pond's ring of stones: low and small, so the lawn's picture
    // carries them, with the stepping stones below.
    std::vector<Flat_stone> flat_stones;
    for (int i = 0; i < 16; ++i) {
        double a = 2 * M_PI * i / 16 + rng.range(-0.08, 0.08);
        double r = rng.range(0.35, 0.55);
        Point at{water.x + std::cos(a) * (water.rx + 0.25), water.y + std::sin(a) * (water.ry + 0.25)};
        flat_stones.push_back(Flat_stone{at, r * 1.3, r, a});
    }
    // Boulders on the far side of the tree.
    stone(b, Vec3{8.6, 6.2, 0}, 1.6, 1.2, 1.2, 0.4, 8, 3);
    stone(b, Vec3{10.1, 4.6, 0}, 1.0, 0.8, 0.8, 1.3, 7, 3);
    stone(b, Vec3{7.6, 8.1, 0}, 0.7, 0.6, 0.5, 2.2, 6, 2);
    // Stepping stones from the tree to the pond and out to the rim: flush with
    // the grass, so the lawn's picture carries them.
    for (int i = 0; i < 9; ++i) {
        double t = (i + 1) / 10.0;
        Vec3 at = i < 5 ? Vec3{-1.8 - 3.0 * t * 2, -1.2 - 2.4 * t * 2, 0}
                        : Vec3{2.0 + 2.2 * (i - 4), -2.2 - 1.9 * (i - 4), 0};
        Vec3 jitter{rng.range(-0.2, 0.2), rng.range(-0.2, 0.2), 0};
        double turn = rng.range(0, 3);
        Vec3 c = at + jitter;
        flat_stones.push_back(Flat_stone{Point{c.x, c.y}, 0.6, 0.45, turn});
    }
    return flat_stones;
}

std::vector<Point> Garden_parts::clumps()
{
    std::vector<Clump> clumps;
    for (int i = 0; i < 22; ++i) {
        double a = 2 * M_PI * i / 22 + rng.range(-0.1, 0.1);
        double r = rng.range(12.2, 13.8);
        Vec3 at = horizontal(a, r);
        if (!clear_of_pond(at.x, at.y, 0.5)) continue;
        clumps.push_back(Clump{at, rng.below(4)});
    }
    tufts(b, rng, clumps);
    flower_heads(b, rng, clumps);
    std::vector<Point> beds;
    for (const Clump& c : clumps) beds.push_back(Point{c.at.x, c.at.y});
    return beds;
}

// They lie flat, so the lawn's picture carries them.
std::vector<Point> Garden_parts::daisies()
{
    std::vector<Point> daisies;
    for (int i = 0; i < 60; ++i) {
        double a = rng.range(0, 2 * M_PI), r = 3 + 8.5 * std::sqrt(rng.unit());
        Vec3 at = horizontal(a, r);
        if (!clear_of_pond(at.x, at.y, 0.4)) continue;
        daisies.push_back(Point{at.x, at.y});
    }
    return daisies;
}
