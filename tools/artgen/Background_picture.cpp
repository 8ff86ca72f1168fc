#include "Background_picture.h"

#include <algorithm>
#include <cmath>

#include "Background_art.h"
#include "Noise.h"
#include "Rng.h"

namespace {
// The picture reaches as far up and down as the narrowest view can look
// (a portrait monitor's), so its tiles are as tall as they may be; the
// hills' ridges are painted with coverage, so magnified (about 2.3 times on
// a 1080-line screen) their outline stays smooth, without steps.
const double per_x = (Background_picture::width - 1) / (2 * Background_art::half_width);
const double per_s = (Background_picture::height - 1) / (2 * Background_art::half_height);

// The picture is painted in the quad's own units: X from -50 (left) to 50,
// S down the screen, 0 where a landscape screen's view starts (the sky
// above it is what portraits see) and 60 where it ends. Sky and hills run
// on at the sides; the sun and the middle stay where a 4:3 screen shows them.
const double s_top = 30 - Background_art::half_height;
struct Place {
    double x, s;
};
Place place_of(double px, double py)
{
    return Place{-Background_art::half_width + (px - 0.5) / per_x, s_top + (py - 0.5) / per_s};
}
double px_of_x(double x) { return (x + Background_art::half_width) * per_x + 0.5; }
double py_of_s(double s) { return (s - s_top) * per_s + 0.5; }
// Trunks and flowers were drawn at 1024 texels over 72 units; this keeps
// their width in units on the wider, denser picture.
const double across = per_x / (1024.0 / 72.0);
// The scene scales the quad 4 across and 3 down: a shape round on the
// screen is this much narrower in X than in S.
const double screen_x = 4.0 / 3.0;

// The hill layers' ridge lines, far to near, and the noise they and the sky
// are shaped from.
struct Hills {
    Noise noise{7};
    double ridge(int layer, double x) const
    {
        const double base[] = {30.5, 35.0, 41.5, 49.0};
        const double amp[] = {4.5, 5.0, 4.0, 2.2};
        const double scale[] = {14.0, 11.0, 9.0, 6.0};
        return base[layer] - amp[layer] * (noise.fbm(x / scale[layer] + 50 * layer, layer * 3.7, 4) - 0.5) * 2.6 -
               (layer == 1 ? 2.5 * std::cos(x / 14) : 0);
    }
};
const Rgba haze = hex(0xf3dcb8);

// Deep blue above, deeper towards the top of a portrait, warm near the
// horizon, a glow round the sun, and soft bands of cloud lit from its side.
Rgba sky(const Noise& noise, Place p)
{
    const Place sun{17.0, 25.0};
    double t = smoothstep(0, 33, p.s);
    Rgba c = mix(hex(0x3d6fb6), hex(0xa9c9ea), smoothstep(0, 0.7, t));
    c = mix(c, hex(0xfbe1b6), smoothstep(0.6, 1.0, t));
    c = mix(hex(0x2c5c9f), c, smoothstep(-30, 0, p.s));
    // Round on the screen, not in the quad's units.
    double sd = std::hypot((p.x - sun.x) * screen_x, p.s - sun.s);
    c = mix(c, hex(0xfff3d2), 0.75 * std::exp(-sd * sd / 40.0));
    if (sd < 2.2) c = mix(c, hex(0xfffbea), smoothstep(2.2, 1.8, sd));
    double cloud = noise.fbm(p.x / 9 + 3, p.s / 3.2, 5);
    double band = smoothstep(26, 6, p.s) * smoothstep(-28, -16, p.s);
    double k = smoothstep(0.52, 0.72, cloud) * band;
    Rgba cloud_c = mix(hex(0xf7f2ee), hex(0xc8cbdc), smoothstep(0.6, 0.8, noise.fbm(p.x / 5, p.s / 2 + 9, 3)));
    return mix(c, cloud_c, 0.85 * k);
}

void paint_sky_and_hills(Image& img, const Hills& hills)
{
    const Noise& noise = hills.noise;
    const Rgba hill_far = hex(0x7f9cc6), hill_mid = hex(0x6f9a79), hill_near = hex(0x4e8a45), meadow = hex(0x5c9c3c);
    img.paint_all([&](double px, double py) {
        Place p = place_of(px, py);
        Rgba c = sky(noise, p);
        // Hills, each nearer layer clearer and greener.
        for (int layer = 0; layer < 4; ++layer) {
            double top = hills.ridge(layer, p.x);
            // The share of this texel below the ridge: an outline without
            // steps when the picture is magnified.
            double below = std::clamp((p.s - top) * per_s + 0.5, 0.0, 1.0);
            if (below <= 0) continue;
            Rgba h = layer == 0 ? hill_far : layer == 1 ? hill_mid : layer == 2 ? hill_near : meadow;
            double tex = noise.fbm(p.x / (2.5 - 0.4 * layer), p.s / 1.2 + 20 * layer, 4);
            h = shade(h, 0.88 + 0.28 * tex);
            // Sunlit rims and haze that thins towards us.
            h = mix(h, shade(h, 1.25), smoothstep(1.2, 0, p.s - top) * 0.5);
            h = mix(h, haze, (3 - layer) * 0.1 * (1 - smoothstep(top, top + 12, p.s) * 0.5));
            c = mix(c, h, below);
        }
        // The meadow darkens towards the bottom of a portrait.
        return shade(c, 1 - 0.18 * smoothstep(60, 90, p.s));
    });
}

// Trees on the middle and near hills: round crowns on short trunks.
void paint_trees(Image& img, const Hills& hills, Rng& rng)
{
    for (int layer = 1; layer <= 2; ++layer) {
        int count = layer == 1 ? 36 : 22;
        for (int i = 0; i < count; ++i) {
            double x = rng.range(-Background_art::half_width, Background_art::half_width);
            double size = (layer == 1 ? 0.8 : 1.3) * rng.range(0.8, 1.3);
            double s = hills.ridge(layer, x) + rng.range(0.3, 2.2) * layer;
            Rgba crown = shade(layer == 1 ? hex(0x4f7a5a) : hex(0x2f6a30), rng.range(0.85, 1.1));
            if (layer == 1) crown = mix(crown, haze, 0.18);
            double cx = px_of_x(x), cy = py_of_s(s - size * 1.6);
            const double sx = per_x, sy = per_s;
            img.paint(int(cx - 2 * across), int(cy), int(cx + 3 * across), int(py_of_s(s)) + 1, [&](double, double) {
                return shade(hex(0x4a3a2a), 0.9);
            });
            img.ellipse(cx, cy, size * sx, size * 1.25 * sy, 0, crown, 1.2);
            img.ellipse(cx - size * sx * 0.3, cy - size * sy * 0.4, size * sx * 0.55, size * sy * 0.6, 0,
                        shade(crown, 1.18), 1.2);
        }
    }
}

// Meadow flowers in the foreground, larger the nearer; below a landscape
// screen's view only as far to the sides as a portrait's reaches.
void paint_meadow(Image& img, const Hills& hills, Rng& rng)
{
    const unsigned colours[] = {0xfaf6ea, 0xf4d33a, 0xe8533a, 0xc86ad8, 0x8fa8f0};
    auto flower = [&](double x, double s) {
        double depth = std::min((s - 47) / 13, 2.0);  // 0 far, 1 at a landscape screen's bottom
        double r = 0.8 + 2.2 * std::max(0.0, depth);
        Rgba c = hex(colours[rng.below(5)]);
        img.ellipse(px_of_x(x), py_of_s(s), r * across, r * 0.094 * per_s, 0, c, 0.9);
    };
    for (int i = 0; i < 970; ++i) {
        double x = rng.range(-Background_art::half_width, Background_art::half_width);
        double s = rng.range(hills.ridge(3, x) + 0.5, 60);
        flower(x, s);
    }
    for (int i = 0; i < 700; ++i) {
        double x = rng.range(-26.0, 26.0);
        double s = rng.range(60.0, 90.0);
        flower(x, s);
    }
}
}  // namespace

double Background_picture::per_x() { return ::per_x; }
double Background_picture::per_y() { return ::per_s; }

Image Background_picture::paint()
{
    Image img(width, height);
    const Hills hills;
    paint_sky_and_hills(img, hills);
    // One generator through the trees and the meadow, in that order.
    Rng rng(8);
    paint_trees(img, hills, rng);
    paint_meadow(img, hills, rng);
    return img;
}
