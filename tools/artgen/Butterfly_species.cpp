#include "Butterfly_species.h"

#include <cmath>

#include "Wing_frame.h"

namespace {
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
    Point p = Wing_frame::to_pixel(at);
    img.ellipse(p.x, p.y, radius * Wing_frame::px_per_unit, radius * Wing_frame::px_per_unit, 0, c, 1.0);
}

// Control points go round from the root's front edge: the forewing's leading
// edge out to the apex, its outer margin back to the tornus, a notch, then
// the hindwing's margin round to the body.
const std::vector<Point> broad_outline = {
    {2.0, 0.4},  {3.4, 3.5},  {4.6, 8.0},  {5.4, 12.0}, {5.5, 14.6}, {4.4, 15.6},
    {2.6, 14.6}, {0.4, 12.2}, {-1.6, 10.0}, {-2.6, 9.0}, {-3.1, 8.7}, {-4.4, 8.9},
    {-6.4, 7.8}, {-7.8, 5.6}, {-8.0, 3.2}, {-6.6, 1.2}, {-4.0, 0.3}, {-1.0, 0.1}};

Butterfly_species monarch()
{
    Butterfly_species s;
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

Butterfly_species morpho()
{
    Butterfly_species s;
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

Butterfly_species swallowtail()
{
    Butterfly_species s;
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

Butterfly_species cabbage_white()
{
    Butterfly_species s;
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

Butterfly_species red_admiral()
{
    Butterfly_species s;
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
}  // namespace

Butterfly_species Butterfly_species::of(int index)
{
    switch (index) {
    case 0: return monarch();
    case 1: return morpho();
    case 2: return swallowtail();
    case 3: return cabbage_white();
    default: return red_admiral();
    }
}
