#include "Butterfly_art.h"

#include <cmath>
#include <functional>

#include "Mesh_builder.h"
#include "Noise.h"
#include "Outline.h"
#include "resources/Pack_names.h"

namespace {
// The wing texture covers x from -11 to 7 (tail to head) and y from 0 (the
// hinge) to 18 (beyond the tip); the image's top row is the wing's far edge.
const double wing_x0 = -11, wing_x1 = 7, wing_y1 = 18;
const int wing_px = 256;
const double px_per_unit = wing_px / (wing_x1 - wing_x0);

Point to_pixel(Point p) { return Point{(p.x - wing_x0) * px_per_unit, (wing_y1 - p.y) * px_per_unit}; }
Point to_wing(double px, double py) { return Point{wing_x0 + px / px_per_unit, wing_y1 - py / px_per_unit}; }

// What a pattern needs to know about one point of the wing.
struct Wing_spot {
    Point p;
    bool fore;         // forewing (in front of the line to the notch) or hindwing
    double edge;       // distance inside the outline, model units
    double vein;       // distance to the nearest vein
    double root;       // distance from the wing root
};

struct Species {
    const char* name;
    std::vector<Point> outline;  // control points, x forward, y outward
    Point notch;                 // where fore- and hindwing meet at the margin
    double vein_width;
    Rgba vein_colour;
    std::function<Rgba(const Wing_spot&)> pattern;
    // Extra touches painted over the pattern (spots along the margin...).
    std::function<void(Image&, const Outline&)> marks;
    Rgba body, body_stripe, eye;
};

// Points along the outline, every spacing units, moved inset units inward,
// on the chosen wing only.
std::vector<Point> along_margin(const Outline& o, Point notch, double inset, double spacing,
                                int wing /* 0 both, 1 fore, 2 hind */)
{
    std::vector<Point> out;
    const std::vector<Point>& pts = o.points();
    double carried = spacing / 2;
    for (size_t i = 0; i < pts.size(); ++i) {
        Point a = pts[i], b = pts[(i + 1) % pts.size()];
        double len = std::hypot(b.x - a.x, b.y - a.y);
        while (carried <= len && len > 0) {
            double t = carried / len;
            Point m{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
            Point n{-(b.y - a.y) / len, (b.x - a.x) / len};
            Point in{m.x + n.x * inset, m.y + n.y * inset};
            if (!o.contains(in.x, in.y)) in = Point{m.x - n.x * inset, m.y - n.y * inset};
            // In tight bends (the swallowtail's tail) the spot would not fit.
            bool fits = o.contains(in.x, in.y) && o.distance(in.x, in.y) > inset * 0.7;
            bool fore = in.x > notch.x / notch.y * in.y;
            // Skip the hinge side: the spots belong to the outer margins.
            bool outer = in.y > 1.5;
            if (fits && outer && (wing == 0 || (wing == 1) == fore)) out.push_back(in);
            carried += spacing;
        }
        carried -= len;
    }
    return out;
}

void spot(Image& img, Point at, double radius, const Rgba& c)
{
    Point p = to_pixel(at);
    img.ellipse(p.x, p.y, radius * px_per_unit, radius * px_per_unit, 0, c, 1.0);
}

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

Image paint_wing(const Species& s)
{
    Outline o = Outline::smooth(s.outline, 10);
    auto veins = veins_of(o, s.notch);
    // The forewing's inner margin lies over the hindwing: a fine dark line.
    const Point root{0.2, 0.3};
    Image img(wing_px, wing_px);
    img.paint_all([&](double px, double py) {
        Point p = to_wing(px, py);
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
Image paint_body(const Species& s)
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

// ---- The five species -------------------------------------------------------

// Control points go round from the root's front edge: the forewing's leading
// edge out to the apex, its outer margin back to the tornus, a notch, then
// the hindwing's margin round to the body.
const std::vector<Point> broad_outline = {
    {2.0, 0.4},  {3.4, 3.5},  {4.6, 8.0},  {5.4, 12.0}, {5.5, 14.6}, {4.4, 15.6},
    {2.6, 14.6}, {0.4, 12.2}, {-1.6, 10.0}, {-2.6, 9.0}, {-3.1, 8.7}, {-4.4, 8.9},
    {-6.4, 7.8}, {-7.8, 5.6}, {-8.0, 3.2}, {-6.6, 1.2}, {-4.0, 0.3}, {-1.0, 0.1}};

Species monarch()
{
    Species s;
    s.name = "monarch";
    s.outline = broad_outline;
    s.notch = Point{-2.6, 9.0};
    s.vein_width = 0.24;
    s.vein_colour = hex(0x151010);
    s.pattern = [](const Wing_spot& w) {
        Rgba c = mix(hex(0xe2600c), hex(0xf8a23a), std::min(1.0, w.root / 13));
        if (w.edge < 1.15) c = hex(0x171210);  // the black margin
        // The black apex and leading edge of the forewing.
        double apex = std::hypot(w.p.x - 4.6, w.p.y - 14.4);
        if (w.fore && (apex < 4.4 || (w.p.x > 2.0 && w.edge < 1.5))) c = hex(0x171210);
        return c;
    };
    s.marks = [](Image& img, const Outline& o) {
        for (Point p : along_margin(o, Point{-2.6, 9.0}, 0.42, 0.85, 0)) spot(img, p, 0.17, hex(0xfbfbf2));
        for (Point p : along_margin(o, Point{-2.6, 9.0}, 0.85, 1.1, 0)) spot(img, p, 0.13, hex(0xfbfbf2));
        // Pale and orange spots across the black apex.
        const Point light[] = {{4.3, 13.0}, {3.4, 13.6}, {2.5, 13.4}, {4.6, 11.8}};
        for (Point p : light) spot(img, p, 0.36, hex(0xfaf3dc));
        const Point amber[] = {{1.9, 11.6}, {2.9, 11.0}, {3.8, 10.2}};
        for (Point p : amber) spot(img, p, 0.42, hex(0xf7a54a));
    };
    s.body = hex(0x161212);
    s.body_stripe = hex(0xf2efe6);
    s.eye = hex(0x2b2420);
    return s;
}

Species morpho()
{
    Species s;
    s.name = "morpho";
    s.outline = {{2.0, 0.4},  {3.6, 3.8},  {5.0, 8.6},  {5.8, 13.0}, {5.0, 15.4}, {3.0, 15.6},
                 {0.8, 13.6}, {-1.4, 11.2}, {-2.6, 10.0}, {-3.2, 9.8}, {-5.6, 9.6}, {-7.8, 7.6},
                 {-8.6, 4.6}, {-7.8, 1.8}, {-5.0, 0.4}, {-1.0, 0.1}};
    s.notch = Point{-2.6, 10.0};
    s.vein_width = 0.08;
    s.vein_colour = hex(0x0a2a78);
    s.pattern = [](const Wing_spot& w) {
        // Iridescent: bright in the middle of each wing, deep at root and rim.
        double glow = std::sin(std::min(1.0, w.root / 14.5) * M_PI);
        Rgba c = mix(hex(0x0c2f9c), hex(0x3fc4ff), 0.25 + 0.75 * glow);
        double black = w.fore ? (w.p.x > 2.0 ? 2.2 : 1.6) : 0.9;
        if (w.edge < black) c = hex(0x0d0d14);
        return c;
    };
    s.marks = [](Image& img, const Outline& o) {
        for (Point p : along_margin(o, Point{-2.6, 10.0}, 1.1, 1.4, 1)) spot(img, p, 0.28, hex(0xf0f4ff));
        for (Point p : along_margin(o, Point{-2.6, 10.0}, 0.45, 1.0, 2)) spot(img, p, 0.16, hex(0x9fc6ff));
    };
    s.body = hex(0x2a1d14);
    s.body_stripe = hex(0x5b7fd6);
    s.eye = hex(0x3a2a1a);
    return s;
}

Species swallowtail()
{
    Species s;
    s.name = "swallowtail";
    s.outline = {{2.0, 0.4},  {3.6, 3.8},  {5.2, 9.0},  {6.0, 13.4}, {5.4, 15.6}, {3.6, 15.4},
                 {1.2, 13.2}, {-1.2, 10.6}, {-2.6, 9.4}, {-3.0, 9.0}, {-4.6, 9.0}, {-6.4, 7.6},
                 {-7.4, 6.0}, {-8.4, 5.0}, {-10.2, 4.7}, {-10.6, 4.1}, {-9.0, 3.5}, {-7.6, 2.4},
                 {-6.6, 1.0}, {-4.0, 0.3}, {-1.0, 0.1}};
    s.notch = Point{-2.6, 9.4};
    s.vein_width = 0.2;
    s.vein_colour = hex(0x14110c);
    s.pattern = [](const Wing_spot& w) {
        Rgba c = mix(hex(0xf3d23a), hex(0xfbe978), std::min(1.0, w.root / 12));
        // Tiger stripes: bands across the forewing from its leading edge,
        // broad there and narrowing towards the back.
        const double bands[][2] = {{2.4, 0.9}, {5.6, 0.6}, {8.6, 0.55}, {11.4, 0.45}};
        if (w.fore)
            for (const auto& b : bands) {
                double half = b[1] * (0.35 + 0.65 * smoothstep(-2.5, 5.0, w.p.x));
                if (std::fabs(w.p.y - b[0] + 0.12 * w.p.x) < half) c = hex(0x15120d);
            }
        // The first stripe runs on over the hindwing along the body.
        if (!w.fore && std::fabs(w.p.y - 2.4 - 0.1 * w.p.x) < 0.7 && w.p.x > -5) c = hex(0x15120d);
        if (w.edge < (w.fore ? 1.5 : 2.1)) c = hex(0x15120d);
        return c;
    };
    s.marks = [](Image& img, const Outline& o) {
        for (Point p : along_margin(o, Point{-2.6, 9.4}, 0.7, 1.3, 1)) spot(img, p, 0.3, hex(0xf6dd55));
        for (Point p : along_margin(o, Point{-2.6, 9.4}, 0.6, 1.2, 2)) spot(img, p, 0.3, hex(0xf6dd55));
        for (Point p : along_margin(o, Point{-2.6, 9.4}, 1.5, 1.3, 2)) spot(img, p, 0.32, hex(0x4a7fe0));
        // The orange eyespot by the tail.
        spot(img, Point{-6.9, 2.2}, 0.6, hex(0xf07a1c));
        spot(img, Point{-6.9, 2.2}, 0.26, hex(0x1a1410));
    };
    s.body = hex(0x15120d);
    s.body_stripe = hex(0xf3d23a);
    s.eye = hex(0x3b3020);
    return s;
}

Species cabbage_white()
{
    Species s;
    s.name = "cabbage white";
    s.outline = {{2.0, 0.4},  {3.4, 3.6},  {4.6, 8.2},  {5.2, 12.4}, {4.6, 14.6}, {2.8, 15.2},
                 {0.6, 13.8}, {-1.2, 11.4}, {-2.4, 10.0}, {-2.9, 9.7}, {-5.0, 9.6}, {-7.0, 7.8},
                 {-7.8, 4.8}, {-7.2, 2.0}, {-4.8, 0.6}, {-1.0, 0.1}};
    s.notch = Point{-2.4, 10.0};
    s.vein_width = 0.05;
    s.vein_colour = hex(0xd6d4c8);
    s.pattern = [](const Wing_spot& w) {
        Rgba c = hex(0xf7f5ea);
        if (w.root < 3.2) c = mix(hex(0x8f8d88), c, smoothstep(1.0, 3.2, w.root));
        // The charcoal tip of the forewing.
        double apex = std::hypot(w.p.x - 4.6, w.p.y - 14.0);
        if (w.fore && apex < 3.8) c = mix(c, hex(0x3a3936), smoothstep(3.8, 3.0, apex) * smoothstep(2.6, 1.6, w.edge));
        return c;
    };
    s.marks = [](Image& img, const Outline&) {
        spot(img, Point{1.4, 9.2}, 0.75, hex(0x2e2d2a));
        spot(img, Point{-0.6, 6.8}, 0.65, hex(0x2e2d2a));
        spot(img, Point{-3.8, 8.4}, 0.55, hex(0x3a3936));
    };
    s.body = hex(0x3d3c3a);
    s.body_stripe = hex(0xe8e6dc);
    s.eye = hex(0x4f5a3a);
    return s;
}

Species red_admiral()
{
    Species s;
    s.name = "red admiral";
    // The hindwing's margin is scalloped.
    s.outline = {{2.0, 0.4},  {3.5, 3.6},  {5.0, 8.4},  {5.8, 12.6}, {5.4, 14.9}, {4.0, 15.5},
                 {2.6, 14.4}, {1.4, 13.4}, {0.0, 11.6}, {-1.8, 9.8}, {-2.6, 9.2}, {-3.8, 9.2},
                 {-4.8, 8.6}, {-5.8, 8.3}, {-6.6, 7.2}, {-7.4, 6.4}, {-7.9, 4.8}, {-8.2, 3.6},
                 {-7.4, 1.6}, {-5.0, 0.5}, {-1.0, 0.1}};
    s.notch = Point{-2.4, 9.3};
    s.vein_width = 0.1;
    s.vein_colour = hex(0x100c0a);
    s.pattern = [](const Wing_spot& w) {
        Rgba c = mix(hex(0x2a1d16), hex(0x171210), std::min(1.0, w.root / 10));
        if (w.fore) {
            // The red band across the forewing.
            double d = segment_distance(w.p, Point{4.2, 7.4}, Point{-1.4, 9.0});
            if (d < 1.05) c = hex(0xe5391a);
        } else if (w.edge > 0.35 && w.edge < 1.5 && w.p.y > 1.2) {
            c = hex(0xe5391a);  // the red hindwing border
        }
        return c;
    };
    s.marks = [](Image& img, const Outline& o) {
        const Point white[] = {{4.3, 11.8}, {3.2, 13.0}, {4.2, 13.8}, {2.2, 12.6}, {4.8, 10.6}};
        const double size[] = {0.62, 0.45, 0.32, 0.3, 0.3};
        for (int i = 0; i < 5; ++i) spot(img, white[i], size[i], hex(0xf7f3ea));
        for (Point p : along_margin(o, Point{-2.4, 9.3}, 0.95, 1.4, 2)) spot(img, p, 0.2, hex(0x1a1210));
        spot(img, Point{-6.9, 2.4}, 0.4, hex(0x3a66c8));
    };
    s.body = hex(0x1a1411);
    s.body_stripe = hex(0x6b5444);
    s.eye = hex(0x3b2a22);
    return s;
}

Species species(int index)
{
    switch (index) {
    case 0: return monarch();
    case 1: return morpho();
    case 2: return swallowtail();
    case 3: return cabbage_white();
    default: return red_admiral();
    }
}

void wing_model(Model_writer& model)
{
    Mesh_builder b(model);
    b.mesh("__wing.png");
    // The image's top row is the far edge: v = 0 at y = wing_y1.
    b.quad(Vec3{wing_x0, wing_y1, 0}, Vec3{wing_x1, wing_y1, 0}, Vec3{wing_x1, 0, 0}, Vec3{wing_x0, 0, 0},
           Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1});
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
    Species s = species(index);
    Model_writer wing, body;
    wing_model(wing);
    body_model(body);
    pack.add_model(Pack_names::wing, wing);
    pack.add_model(Pack_names::body, body);
    // Painted large, stored at half size: a butterfly is small on screen.
    pack.add_image("__wing.png", paint_wing(s).halved(), Image::Alpha::hard);
    pack.add_image("#_body.png", paint_body(s).halved(), Image::Alpha::opaque);
}
