#include "Butterfly_art.h"

#include <cmath>

#include "Butterfly_species.h"
#include "Mesh_builder.h"
#include "Noise.h"
#include "Outline.h"
#include "Wing_frame.h"
#include "resources/Pack_names.h"

namespace {
// The veins: from a root point in each wing to points of its margin.
std::vector<std::pair<Point, Point>> veins_of(const Outline& o, Point notch)
{
    std::vector<std::pair<Point, Point>> v;
    const Point fore_root{0.8, 1.2}, hind_root{-1.6, 1.0};
    auto toward = [&](Point root, double degrees) {
        // The outline point closest to the ray from root at that angle.
        double a = degrees * M_PI / 180, best = 1e9;
        Point hit = root;
        for (const Point& q : o.points()) {
            double qa = std::atan2(q.y - root.y, q.x - root.x);
            double diff = std::fabs(qa - a);
            if (diff < best) best = diff, hit = q;
        }
        return hit;
    };
    double notch_fore = std::atan2(notch.y - fore_root.y, notch.x - fore_root.x) * 180 / M_PI;
    // Each vein starts a little out from its root, where the wing is thick.
    auto vein = [&](Point root, double degrees) {
        Point end = toward(root, degrees);
        Point start{root.x + (end.x - root.x) * 0.12, root.y + (end.y - root.y) * 0.12};
        v.push_back({start, end});
    };
    for (int i = 0; i < 7; ++i) vein(fore_root, 58 + (notch_fore - 6 - 58) * i / 6.0);
    double notch_hind = std::atan2(notch.y - hind_root.y, notch.x - hind_root.x) * 180 / M_PI;
    for (int i = 0; i < 6; ++i) vein(hind_root, notch_hind + 8 + (168 - notch_hind - 8) * i / 5.0);
    // The cross vein closing the forewing's cell.
    v.push_back({Point{2.6, 6.2}, Point{0.2, 7.0}});
    return v;
}

Image paint_wing(const Butterfly_species& s)
{
    Outline o = Outline::smooth(s.outline, 10);
    auto veins = veins_of(o, s.notch);
    // The forewing's inner margin lies over the hindwing: a fine dark line.
    const Point root{0.2, 0.3};
    Image img(Wing_frame::px, Wing_frame::px);
    img.paint_all([&](double px, double py) {
        Point p = Wing_frame::to_wing(px, py);
        double edge = o.signed_distance(p.x, p.y);
        if (edge < -0.2) return Rgba{0, 0, 0, 0};
        Wing_spot w;
        w.p = p;
        w.fore = p.x > s.notch.x / s.notch.y * p.y;
        w.edge = edge;
        w.vein = 1e9;
        for (const auto& v : veins) w.vein = std::min(w.vein, segment_distance(p, v.first, v.second));
        w.root = std::hypot(p.x + 0.4, p.y);
        Rgba c = s.pattern(w);
        if (w.vein < s.vein_width) c = mix(c, s.vein_colour, 0.85);
        // The hindwing lies a shade darker, so the two wings read apart.
        if (!w.fore) c = shade(c, 0.94);
        if (segment_distance(p, root, s.notch) < 0.09) c = mix(c, s.vein_colour, 0.7);
        return with_alpha(c, smoothstep(-0.05, 0.05, edge));
    });
    if (s.marks) s.marks(img, o);
    return img;
}

// The body texture: columns go round the body (0 and 0.5 are the sides, 0.75
// the back), rows along it from the tail (top) to the head; the last rows
// are a strip for the antennae.
Image paint_body(const Butterfly_species& s)
{
    const int w = 64, h = 256;
    Image img(w, h);
    Noise noise(97);
    img.paint_all([&](double px, double py) {
        double along = py / h / 0.94;  // 0 tail, 1 head front
        double round = px / w;
        if (along > 1.0) {
            // Antennae: dark shaft, light tip band.
            return py > h - 6 ? shade(s.body_stripe, 1.1) : shade(s.body, 0.7);
        }
        double back = 0.5 + 0.5 * std::cos((round - 0.75) * 2 * M_PI);  // 1 on the back
        double hair = noise.value(px / 1.5, py / 1.5, 0);
        Rgba c = s.body;
        // Abdomen rings.
        if (along < 0.6 && std::fmod(along * 14, 1.0) < 0.22) c = mix(c, s.body_stripe, 0.5);
        // Thorax: fuzz, lighter on the back.
        if (along >= 0.6 && along < 0.85) c = mix(c, s.body_stripe, 0.25 * back + 0.25 * hair);
        // Head: big eyes on the sides.
        if (along >= 0.86) {
            double side = std::min(std::fabs(round - 0.0), std::min(std::fabs(round - 0.5), std::fabs(round - 1.0)));
            if (side < 0.13 && along > 0.88 && along < 0.98) c = s.eye;
        }
        return shade(c, 0.85 + 0.3 * back + 0.1 * hair);
    });
    return img;
}

void wing_model(Model_writer& model)
{
    Mesh_builder b(model);
    b.mesh("__wing.png");
    // The image's top row is the far edge: v = 0 at y = y1.
    const double x0 = Wing_frame::x0, x1 = Wing_frame::x1, y1 = Wing_frame::y1;
    b.quad(Vec3{x0, y1, 0}, Vec3{x1, y1, 0}, Vec3{x1, 0, 0}, Vec3{x0, 0, 0}, Uv{0, 0}, Uv{1, 0}, Uv{1, 1},
           Uv{0, 1});
}

void body_model(Model_writer& model)
{
    Mesh_builder b(model);
    // Opaque: the body's picture has no holes, and without the alpha test
    // hidden pixels are dropped before they are shaded.
    b.mesh("#_body.png");
    // Radius profile from the abdomen's tip to the front of the head. A body
    // is about 25 pixels long on screen: five sides and seven rings draw it
    // as round as more would, and every triangle costs frame time.
    const double xs[] = {-9.0, -6.0, -1.4, 1.0, 3.0, 4.3, 5.5};
    const double rs[] = {0.12, 0.8, 0.8, 1.35, 0.8, 1.0, 0.2};
    std::vector<Vec3> path;
    std::vector<double> radii;
    for (int i = 0; i < 7; ++i) {
        // The abdomen dips a little below the thorax.
        double sag = xs[i] < -1 ? 0.25 * std::sin((xs[i] + 1) / 8 * M_PI) : 0;
        path.push_back(Vec3{xs[i], 0, sag});
        radii.push_back(rs[i]);
    }
    b.tube(path, radii, 5, 1, 14.5 / 0.94);
    // Antennae from the top of the head, forward and up, thickening towards
    // clubbed tips: one thin three-sided cone each, under a pixel wide on
    // screen.
    for (int side = -1; side <= 1; side += 2) {
        std::vector<Vec3> a;
        std::vector<double> r;
        const double ts[] = {0.0, 1.0};
        const double rt[] = {0.1, 0.28};
        for (int i = 0; i < 2; ++i) {
            double t = ts[i];
            a.push_back(Vec3{4.6 + 5.8 * t, side * (0.35 + 2.4 * t), 0.75 + 2.6 * t + 0.9 * std::sin(t * M_PI)});
            r.push_back(rt[i]);
        }
        b.tube(a, r, 3, 1, 1000, 0.965);
    }
}
}  // namespace

std::string Butterfly_art::pack_name(int index) { return Pack_names::butterfly_packs[index]; }

void Butterfly_art::build(int index, Art_pack& pack)
{
    Butterfly_species s = Butterfly_species::of(index);
    Model_writer wing, body;
    wing_model(wing);
    body_model(body);
    pack.add_model(Pack_names::wing, wing);
    pack.add_model(Pack_names::body, body);
    // Painted large, stored at half size: a butterfly is small on screen.
    pack.add_image("__wing.png", paint_wing(s).halved(), Image::Alpha::hard);
    pack.add_image("#_body.png", paint_body(s).halved(), Image::Alpha::opaque);
}