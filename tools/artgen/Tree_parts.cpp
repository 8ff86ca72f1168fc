#include "Tree_parts.h"

#include <cmath>
#include <vector>

#include "Garden_model.h"

namespace {
const Vec3 up{0, 0, 1};

// The crown: one opaque lumpy dome of painted leaf clusters (its texture
// seen from above), open underneath where nobody looks. Opaque pixels are
// the cheap ones on software GL, and the dome is drawn before the lawn, so
// the lawn it hides is never shaded.
const Vec3 crown_top{0, 0, 8.2};
Vec3 crown_point(double theta, double phi)
{
    double lump = 1 + 0.1 * std::sin(5 * phi + 0.7) * std::sin(theta) +
                  0.05 * std::sin(9 * phi + 2.1 + 3 * theta);
    double r = 6.3 * lump * std::sin(theta);
    double h = theta < M_PI / 2 ? 4.4 : 2.4;
    return crown_top + Vec3{r * std::cos(phi), r * std::sin(phi),
                            h * std::cos(theta) + 0.35 * std::sin(3 * phi) * std::sin(theta)};
}

// Leaf clusters break up the dome's outline: count cards, turned out and up,
// between theta0 and theta1 (fractions of half a turn from the top).
void rim_cards(Mesh_builder& b, Rng& cards, int count, double theta0, double theta1, double size0, double size1)
{
    for (int i = 0; i < count; ++i) {
        double phi = 2 * M_PI * (i + cards.range(-0.3, 0.3)) / count;
        double theta = cards.range(theta0, theta1) * M_PI;
        Vec3 at = crown_point(theta, phi);
        Vec3 out = horizontal(phi, 1);
        double outward = cards.range(0.6, 1.0), upward = cards.range(0.7, 1.2);
        Vec3 n = normalised(out * outward + up * upward);
        double hx = cards.range(-1, 1), hy = cards.range(-1, 1);
        Vec3 su = normalised(cross(n, Vec3{hx, hy, 0.3}));
        Vec3 sv = cross(n, su);
        double size = cards.range(size0, size1);
        // A card at the crown's edge that the garden's turn would lift over
        // the lawn's far rim shows there as a green blob floating in the
        // sky: it goes down the dome's side until it stays under the rim.
        Vec3 centre = at + out * 0.5;
        auto over = [&](Vec3 c) {
            for (Vec3 corner : {c + su * size + sv * size, c + su * size - sv * size, c - su * size + sv * size,
                                c - su * size - sv * size})
                if (Garden_model::over_far_rim(corner)) return true;
            return false;
        };
        for (int step = 0; step < 40 && over(centre); ++step) centre = centre - up * 0.1;
        b.card(centre, su * size, sv * size);
    }
}
}  // namespace

// The crown first: seen from above it hides a good part of the lawn, and
// pixels it covers fail the depth test before they are shaded.
void Tree_parts::crown()
{
    b.mesh("#_crown.png");
    const int slices = 14, stacks = 4;
    const double last = 0.62 * M_PI;
    // The picture is laid on by angle from the top, not straight down,
    // so the dome's steep sides show leaves as large as its top does.
    auto uv = [last](double theta, double phi) {
        double d = 0.5 * theta / last;
        return Uv{0.5 + d * std::cos(phi), 0.5 - d * std::sin(phi)};
    };
    for (int i = 0; i < stacks; ++i)
        for (int s = 0; s < slices; ++s) {
            double t0 = last * i / stacks, t1 = last * (i + 1) / stacks;
            double p0 = 2 * M_PI * s / slices, p1 = 2 * M_PI * (s + 1) / slices;
            Vec3 a = crown_point(t0, p0), c = crown_point(t1, p0), d = crown_point(t1, p1),
                 e = crown_point(t0, p1);
            if (i == 0)
                b.triangle(a, c, d, uv(t0, p0), uv(t1, p0), uv(t1, p1));
            else
                b.quad(a, c, d, e, uv(t0, p0), uv(t1, p0), uv(t1, p1), uv(t0, p1));
        }
}

// A ring of light clusters round the dome's rim and a few darker ones under
// them. Every pixel of a card is shaded (the alpha test comes late), so they
// are few.
void Tree_parts::rim()
{
    b.mesh("__leaves1.png");
    Rng low_cards(300);
    rim_cards(b, low_cards, 5, 0.56, 0.6, 0.85, 1.0);
    b.mesh("__leaves2.png");
    Rng high_cards(301);
    rim_cards(b, high_cards, 14, 0.42, 0.52, 0.95, 1.2);
}

// The garden is always seen from about 60 degrees above, and from there the
// crown hides the trunk and roots: they are kept, with as few triangles as
// will do, so the crown stands on something, and no branches are built at all.
void Tree_parts::trunk()
{
    b.mesh("#_bark.png");
    std::vector<Vec3> trunk;
    std::vector<double> trunk_r;
    const double trunk_heights[] = {-0.2, 0.6, 3.0, 8.6};
    const double trunk_radii[] = {1.15, 0.7, 0.56, 0.18};
    for (int i = 0; i < 4; ++i) {
        double z = trunk_heights[i];
        trunk.push_back(Vec3{0.35 * std::sin(z * 0.45), 0.2 * std::sin(z * 0.3 + 1), z});
        trunk_r.push_back(trunk_radii[i]);
    }
    b.tube(trunk, trunk_r, 5, 2, 4);
    for (int i = 0; i < 5; ++i) {
        double a = 2 * M_PI * i / 5 + rng.range(-0.3, 0.3);
        Vec3 d = horizontal(a, 1);
        b.tube({d * 0.3 + Vec3{0, 0, 0.7}, d * 1.4 + Vec3{0, 0, 0.15}, d * 2.6 + Vec3{0, 0, -0.1}},
               {0.36, 0.2, 0.05}, 4, 1, 4);
    }
}
