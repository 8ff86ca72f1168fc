#include "Lawn_texture.h"

#include <algorithm>
#include <cmath>

#include "Brush.h"
#include "Noise.h"
#include "Rng.h"

namespace {
const int n = 512;

// Where the lawn's model units fall in the picture.
struct Lawn_frame {
    double radius, unit;  // unit: pixels per model unit
    Point to_model(double px, double py) const { return Point{-radius + px / unit, radius - py / unit}; }
};

void paint_ground(Image& img, const Lawn_frame& f, const std::vector<Point>& beds)
{
    Noise noise(11);
    img.paint_all([&](double px, double py) {
        Point p = f.to_model(px, py);
        double k = noise.fbm(px / 48, py / 48, 4);
        double fine = noise.value(px / 3, py / 3);
        Rgba c = mix(hex(0x4d8f2e), hex(0x86c24a), k);
        // Mowing stripes show the garden turning.
        c = shade(c, (std::fmod(p.x + 100, 5.0) < 2.5 ? 1.05 : 0.95) * (0.9 + 0.2 * fine));
        // The crown's shadow, a little off the trunk, away from the light.
        double sd = std::hypot(p.x, p.y + 1.4);
        c = shade(c, 1 - 0.3 * smoothstep(7.5, 4.5, sd));
        // Bare earth round the trunk and under the beds.
        double soil = smoothstep(2.4, 1.6, std::hypot(p.x, p.y)) * (0.7 + 0.3 * fine);
        for (const Point& b : beds) soil = std::max(soil, smoothstep(1.5, 1.0, std::hypot(p.x - b.x, p.y - b.y)));
        return mix(c, mix(hex(0x6e5236), hex(0x8a6a46), fine), soil * 0.9);
    });
}

// Blades seen from above: short strokes every way, darker and lighter.
void paint_blades(Image& img, const Lawn_frame& f, const std::vector<Point>& beds, Rng& rng)
{
    for (int i = 0; i < 9000; ++i) {
        double x = rng.range(0, n), y = rng.range(0, n);
        Rgba c = mix(hex(0x3b7a25), hex(0xa8dc6a), rng.unit());
        double angle = rng.range(0, 2 * M_PI), length = rng.range(2.5, 5.5), bend = rng.range(-0.6, 0.6);
        Point p = f.to_model(x, y);
        bool bare = std::hypot(p.x, p.y) < 1.8;
        for (const Point& b : beds) bare = bare || std::hypot(p.x - b.x, p.y - b.y) < 1.1;
        if (bare) continue;
        if (std::hypot(p.x, p.y + 1.4) < 6) c = shade(c, 0.75);
        Brush::blade(img, x, y, angle, length, 1.1, bend, c);
    }
}

// The beds are planted: leaves lying round each clump of flowers.
void paint_beds(Image& img, const Lawn_frame& f, const std::vector<Point>& beds, Rng& rng)
{
    const double radius = f.radius, unit = f.unit;
    for (const Point& b : beds)
        for (int i = 0; i < 26; ++i) {
            double a = rng.range(0, 2 * M_PI), r = rng.range(0.1, 1.0);
            double px = (b.x + radius + std::cos(a) * r) * unit, py = (radius - b.y - std::sin(a) * r) * unit;
            double turn = a + rng.range(-0.8, 0.8), length = rng.range(8, 13);
            Rgba c = mix(hex(0x2f6e22), hex(0x7fbf48), rng.unit());
            Brush::leaf(img, px, py, -turn, length, length * 0.45, c, shade(c, 1.2));
        }
}

// Clover leaves and tiny daisies here and there, then the daisies the model
// places: they lie flat, so painted here they cost no triangles.
void paint_flowers(Image& img, const Lawn_frame& f, const std::vector<Point>& daisies, Rng& rng)
{
    for (int i = 0; i < 40; ++i) {
        double x = rng.range(0, n), y = rng.range(0, n);
        for (int l = 0; l < 3; ++l)
            img.ellipse(x + 1.6 * std::cos(l * 2.1), y + 1.6 * std::sin(l * 2.1), 1.6, 1.6, 0, hex(0x5aa63a), 0.8);
    }
    for (int i = 0; i < 50; ++i) {
        double x = rng.range(0, n), y = rng.range(0, n);
        img.ellipse(x, y, 1.6, 1.6, 0, hex(0xfafaf0), 0.8);
        img.ellipse(x, y, 0.7, 0.7, 0, hex(0xf2c81e), 0.6);
    }
    for (const Point& d : daisies) {
        double x = (d.x + f.radius) * f.unit, y = (f.radius - d.y) * f.unit;
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4 + rng.range(-0.2, 0.2);
            img.ellipse(x + 1.9 * std::cos(a), y + 1.9 * std::sin(a), 1.6, 0.8, a, hex(0xf6f3ea), 0.7);
        }
        img.ellipse(x, y, 1.2, 1.2, 0, hex(0xecb020), 0.6);
    }
}

// Stepping stones flush with the grass: a shadow away from the light, the
// stone with its grain, a lit upper edge.
void paint_stones(Image& img, const Lawn_frame& f, const std::vector<Flat_stone>& stones)
{
    Noise grain(72);
    for (const Flat_stone& st : stones) {
        double x = (st.at.x + f.radius) * f.unit, y = (f.radius - st.at.y) * f.unit;
        double rx = st.rx * f.unit, ry = st.ry * f.unit, ca = std::cos(-st.turn), sa = std::sin(-st.turn);
        img.ellipse(x + 1.2, y + 1.8, rx + 0.8, ry + 0.8, -st.turn, hex(0x1e3a12, 0.6), 2.0);
        img.paint(int(x - rx - 3), int(y - rx - 3), int(x + rx + 4), int(y + rx + 4), [&](double px, double py) {
            double dx = px - x, dy = py - y;
            double u = (dx * ca + dy * sa) / rx, v = (-dx * sa + dy * ca) / ry;
            double a = std::atan2(v, u);
            // A lumpy outline, not a perfect ellipse.
            double edge = 1 + 0.08 * std::sin(3 * a + st.turn * 5) - std::sqrt(u * u + v * v);
            if (edge <= 0) return Rgba{0, 0, 0, 0};
            double k = grain.fbm(px / 4, py / 4, 3);
            Rgba c = mix(hex(0x8a847a), hex(0xd2ccc0), k);
            // Lit towards the top of the picture, darker round the rim.
            c = shade(c, 1.0 - 0.12 * (dy / ry) - 0.25 * smoothstep(0.25, 0.0, edge));
            return with_alpha(c, smoothstep(0.0, 0.12, edge));
        });
    }
}
}  // namespace

Image Lawn_texture::paint(double radius, const std::vector<Point>& beds, const std::vector<Point>& daisies,
                          const std::vector<Flat_stone>& stones)
{
    const Lawn_frame frame{radius, n / (2 * radius)};
    Image img(n, n);
    paint_ground(img, frame, beds);
    // One generator through the grass, the beds and the flowers, in that order.
    Rng rng(12);
    paint_blades(img, frame, beds, rng);
    paint_beds(img, frame, beds, rng);
    paint_flowers(img, frame, daisies, rng);
    paint_stones(img, frame, stones);
    return img;
}
