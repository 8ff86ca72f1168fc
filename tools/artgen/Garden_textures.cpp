#include "Garden_textures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Brush.h"
#include "Noise.h"
#include "Rng.h"

namespace {
// A leaf of a round cluster around (x, y), pointing along angle: its base is
// pulled in by half its length, so the tip stays inside the cluster.
void cluster_leaf(Image& img, double x, double y, double angle, double length, const Rgba& c)
{
    double bx = x - std::cos(angle) * length * 0.5, by = y - std::sin(angle) * length * 0.5;
    Brush::leaf(img, bx, by, angle, length, length * 0.42, c, shade(c, 1.25));
}
}  // namespace

Image Garden_textures::soil()
{
    const int w = 256, h = 64;
    Image img(w, h);
    Noise noise(21);
    img.paint_all([&](double x, double y) {
        double k = noise.fbm(x / 16, y / 12, 4, 16);
        double layer = 0.5 + 0.5 * std::sin(y * 0.35 + 3 * noise.value(x / 16, y / 16, 16));
        Rgba c = mix(hex(0x6b4a2e), hex(0x9c7048), 0.6 * k + 0.4 * layer);
        return shade(c, 1.3 - 0.4 * (y / h));
    });
    Rng rng(22);
    for (int i = 0; i < 70; ++i) {
        double x = rng.range(0, w), y = rng.range(10, h);
        double r = rng.range(1.2, 3.2);
        double turn = rng.range(0, 3);
        Rgba c = mix(hex(0x8d8778), hex(0xc9c2b0), rng.unit());
        img.ellipse(x, y, r * 1.3, r, turn, c, 0.8, true);
    }
    // The lawn hangs over the rim.
    for (int i = 0; i < 220; ++i) {
        double x = rng.range(0, w);
        double y = rng.range(0, 3), angle = M_PI / 2 + rng.range(-0.5, 0.5), length = rng.range(5, 11);
        double bend = rng.range(-0.4, 0.4);
        Rgba c = mix(hex(0x3f7f26), hex(0x8cc653), rng.unit());
        Brush::blade(img, x, y, angle, length, 1.6, bend, c, true);
    }
    return img;
}

Image Garden_textures::bark()
{
    const int w = 128, h = 256;
    Image img(w, h);
    Noise noise(31);
    img.paint_all([&](double x, double y) {
        // Stretched noise makes long vertical ridges; its low parts are fissures.
        double ridge = noise.fbm(x * 16.0 / w, y * 4.0 / h, 4, 16, 4);
        double fine = noise.value(x / 4, y / 4, w / 4, h / 4);
        double fissure = smoothstep(0.32, 0.5, ridge);
        Rgba c = mix(hex(0x3b2716), hex(0x9a7654), fissure);
        return shade(c, 0.9 + 0.25 * fine);
    });
    return img;
}

Image Garden_textures::leaves(int variant)
{
    const int n = 256;
    Image img(n, n);
    Rng rng(41 + variant);
    // The crown is near the light, which brightens it well past the ground:
    // these greens are painted dark so they come out as leaves, not glare.
    Rgba dark = variant ? hex(0x2e6a22) : hex(0x1a4616);
    Rgba light = variant ? hex(0x90c450) : hex(0x4f8a30);
    // Twigs first, so leaves cover them.
    for (int i = 0; i < 7; ++i) {
        double a = rng.range(0, 2 * M_PI);
        Brush::line(img, n / 2, n / 2, n / 2 + std::cos(a) * 95, n / 2 + std::sin(a) * 95, 3,
                    hex(0x5a4128));
    }
    for (int i = 0; i < 130; ++i) {
        double a = rng.range(0, 2 * M_PI);
        double r = 105 * std::sqrt(rng.unit());
        double x = n / 2 + std::cos(a) * r, y = n / 2 + std::sin(a) * r;
        double length = rng.range(34, 48);
        // Leaves point outward, so the cluster keeps a ragged round edge.
        double angle = a + rng.range(-0.7, 0.7);
        Rgba c = mix(dark, light, 0.25 + 0.75 * rng.unit() * (0.5 + 0.5 * (1 - r / 105)));
        cluster_leaf(img, x, y, angle, length, c);
    }
    return img.halved();
}

Image Garden_textures::crown()
{
    const int n = 512;
    Image img(n, n);
    Noise noise(45);
    // Shadowed depths between the clusters.
    img.paint_all([&](double px, double py) {
        double k = noise.fbm(px / 40, py / 40, 3);
        return mix(hex(0x285a1c), hex(0x47862e), k);
    });
    Rng rng(46);
    // Clusters from the rim inwards, so the ones nearer the top lie over the
    // lower ones, each casting a soft shadow on what lies under it.
    struct Cluster {
        double x, y, r;
    };
    std::vector<Cluster> clusters;
    for (int i = 0; i < 190; ++i) {
        double a = rng.range(0, 2 * M_PI);
        double d = std::sqrt(rng.unit());
        double size = rng.range(0.8, 1.2);
        clusters.push_back(Cluster{std::cos(a) * d, std::sin(a) * d, size});
    }
    std::sort(clusters.begin(), clusters.end(),
              [](const Cluster& p, const Cluster& q) { return std::hypot(p.x, p.y) > std::hypot(q.x, q.y); });
    const double span = n / 2 - 6;  // pixels from the middle to the rim of the clusters
    for (const Cluster& c : clusters) {
        double d = std::hypot(c.x, c.y);
        double cx = n / 2 + c.x * span, cy = n / 2 - c.y * span;
        double r = 26 * c.r;
        img.ellipse(cx + 5, cy + 7, r * 1.05, r * 0.95, 0, hex(0x0f2c0d, 0.4), 8);
        // Lighter towards the top of the crown.
        double top = 1 - d * d;
        Rgba dark = mix(hex(0x30681f), hex(0x4a8a2e), top);
        Rgba light = mix(hex(0x7cb846), hex(0xaedc64), top);
        int leaves = 30;
        for (int i = 0; i < leaves; ++i) {
            double a = rng.range(0, 2 * M_PI);
            double lr = r * std::sqrt(rng.unit());
            double x = cx + std::cos(a) * lr, y = cy + std::sin(a) * lr;
            double length = rng.range(11, 16) * c.r;
            double angle = a + rng.range(-0.7, 0.7);
            double lit = rng.unit() * (0.5 + 0.5 * (1 - lr / r));
            // Leaves facing up and to the light catch it.
            lit *= 0.75 + 0.25 * std::cos(a + 2.2);
            cluster_leaf(img, x, y, angle, length, mix(dark, light, 0.2 + 0.8 * lit));
        }
    }
    return img.halved();
}

namespace {
void daisy(Image& img, double cx, double cy, Rng& rng)
{
    for (int i = 0; i < 18; ++i) {
        double a = i * 2 * M_PI / 18 + rng.range(-0.05, 0.05);
        Brush::petal(img, cx, cy, a, 10, 46, 12, hex(0xf4f1e6), hex(0xffffff));
    }
    img.ellipse(cx, cy, 15, 15, 0, hex(0xe8a917));
    img.ellipse(cx - 3, cy - 3, 8, 8, 0, hex(0xf9d648));
}

void poppy(Image& img, double cx, double cy)
{
    for (int i = 0; i < 5; ++i) {
        double a = i * 2 * M_PI / 5 + 0.3;
        Brush::petal(img, cx, cy, a, 0, 56, 52, hex(0xb3140f), hex(0xf0361e));
    }
    img.ellipse(cx, cy, 13, 13, 0, hex(0x1d1a16));
    img.ellipse(cx, cy, 7, 7, 0, hex(0x5d6b3a));
}

void cornflower(Image& img, double cx, double cy, Rng& rng)
{
    for (int i = 0; i < 12; ++i) {
        double a = i * 2 * M_PI / 12 + rng.range(-0.1, 0.1);
        Brush::petal(img, cx, cy, a, 6, 50, 20, hex(0x2b46c4), hex(0x6f8cff));
        // Ragged tips: three small teeth beyond each petal.
        for (int t = -1; t <= 1; ++t)
            Brush::petal(img, cx, cy, a + t * 0.1, 48, 10, 6, hex(0x4c68e6), hex(0x7d98ff));
    }
    img.ellipse(cx, cy, 11, 11, 0, hex(0x4a1f7a));
}

void cosmos(Image& img, double cx, double cy)
{
    for (int i = 0; i < 8; ++i) {
        double a = i * 2 * M_PI / 8;
        Brush::petal(img, cx, cy, a, 6, 52, 28, hex(0xd6408f), hex(0xff8cc6));
    }
    img.ellipse(cx, cy, 12, 12, 0, hex(0xe0a81c));
}
}  // namespace

Image Garden_textures::flowers()
{
    // Painted at four times the size: each head keeps the detail it has on
    // a card of its own, the bunch spread over its cell.
    Image img(1024, 1024);
    Rng rng(51);
    for (int kind = 0; kind < 4; ++kind) {
        double cx = 256 + 512 * (kind % 2), cy = 256 + 512 * (kind / 2);
        // Six heads of one kind round the middle one, each kept inside its cell.
        for (int h = 0; h < 7; ++h) {
            double a = 2 * M_PI * h / 6 + rng.range(-0.4, 0.4), r = h == 6 ? 0 : rng.range(105, 165);
            double x = cx + std::cos(a) * r, y = cy + std::sin(a) * r;
            switch (kind) {
            case 0: daisy(img, x, y, rng); break;
            case 1: poppy(img, x, y); break;
            case 2: cornflower(img, x, y, rng); break;
            default: cosmos(img, x, y); break;
            }
        }
    }
    return img.halved().halved();
}

Image Garden_textures::tuft()
{
    const int n = 128;
    Image img(n, n);
    Rng rng(61);
    for (int i = 0; i < 40; ++i) {
        double x = n / 2 + rng.range(-26, 26);
        double a = -M_PI / 2 + rng.range(-0.55, 0.55) + (x - n / 2) * 0.012;
        Rgba c = mix(hex(0x2f6e22), hex(0x97d05a), rng.unit());
        double length = rng.range(60, 118), bend = rng.range(-0.5, 0.5);
        Brush::blade(img, x, n - 2, a, length, 5, bend, c);
    }
    return img.halved();
}

Image Garden_textures::stone()
{
    const int n = 128;
    Image img(n, n);
    Noise noise(71);
    img.paint_all([&](double x, double y) {
        double k = noise.fbm(x / 16, y / 16, 5, 8);
        Rgba c = mix(hex(0x807a72), hex(0xd8d2c6), k);
        double speck = noise.value(x / 2, y / 2, n / 2);
        if (speck > 0.8) c = shade(c, 0.75);
        double lichen = noise.fbm(x / 16 + 5, y / 16, 3, 8);
        if (lichen > 0.62) c = mix(c, hex(0xb8c25a), 0.55);
        return c;
    });
    return img;
}

Image Garden_textures::lily()
{
    Image img(256, 128);
    // The pad: a disc with a notch and veins from the centre.
    const double cx = 64, cy = 64, r = 58;
    img.paint(0, 0, 128, 128, [&](double x, double y) {
        double dx = x - cx, dy = y - cy;
        double d = std::sqrt(dx * dx + dy * dy);
        double a = std::atan2(dy, dx);
        if (std::fabs(a - 0.6) < 0.16 && d > 4) return Rgba{0, 0, 0, 0};
        double cover = smoothstep(-0.7, 0.7, r - d);
        double vein = std::fabs(std::sin(a * 9));
        Rgba c = mix(hex(0x2f7d2c), hex(0x6fbf4a), 0.4 + 0.6 * d / r);
        if (vein < 0.12) c = shade(c, 1.2);
        return with_alpha(c, cover);
    });
    // The flower: two rings of pointed petals, white to pink.
    for (int ring = 0; ring < 2; ++ring)
        for (int i = 0; i < 10; ++i) {
            double a = i * 2 * M_PI / 10 + ring * 0.31;
            double len = ring ? 36 : 52;
            Brush::leaf(img, 192 + std::cos(a) * 4, 64 + std::sin(a) * 4, a, len, len * 0.42,
                        ring ? hex(0xfde8f0) : hex(0xf3a6c6), hex(0xffffff));
        }
    img.ellipse(192, 64, 10, 10, 0, hex(0xf2c51e));
    return img.halved();
}
