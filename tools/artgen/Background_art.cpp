#include "Background_art.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Garden_model.h"

#include "Mesh_builder.h"
#include "Noise.h"
#include "Rng.h"
#include "resources/Pack_names.h"

namespace {
// Twice as many texels across as down: the quad is 100 by 60 units and the
// picture keeps its detail in the middle of a 4:3 screen.
const int img_w = 2048, img_h = 512;

// The picture is painted in the quad's own units so shapes keep their
// proportions although the image is stretched: X from -50 (left) to 50,
// S from 0 (top of the screen) to 60 (bottom). Sky and hills run on at the
// sides; the sun and the middle stay where a 4:3 screen shows them.
struct Place {
    double x, s;
};
Place place_of(double px, double py)
{
    return Place{-Background_art::half_width + px * 2 * Background_art::half_width / img_w,
                 py * 2 * Background_art::half_height / img_h};
}
double px_of_x(double x) { return (x + Background_art::half_width) * img_w / (2 * Background_art::half_width); }
double py_of_s(double s) { return s * img_h / (2 * Background_art::half_height); }
// Trunks and flowers were drawn at 1024 texels over 72 units; this keeps
// their width in units on the wider, denser picture.
const double across = (img_w / (2 * Background_art::half_width)) / (1024.0 / 72.0);

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

void paint_sky_and_hills(Image& img, const Hills& hills)
{
    const Noise& noise = hills.noise;
    const Place sun{17.0, 25.0};
    const Rgba hill_far = hex(0x7f9cc6), hill_mid = hex(0x6f9a79), hill_near = hex(0x4e8a45), meadow = hex(0x5c9c3c);
    img.paint_all([&](double px, double py) {
        Place p = place_of(px, py);
        // Sky: deep blue above, warm near the horizon, a glow round the sun.
        double t = smoothstep(0, 33, p.s);
        Rgba c = mix(hex(0x3d6fb6), hex(0xa9c9ea), smoothstep(0, 0.7, t));
        c = mix(c, hex(0xfbe1b6), smoothstep(0.6, 1.0, t));
        double sd = std::hypot(p.x - sun.x, p.s - sun.s);
        c = mix(c, hex(0xfff3d2), 0.75 * std::exp(-sd * sd / 40.0));
        if (sd < 2.2) c = mix(c, hex(0xfffbea), smoothstep(2.2, 1.8, sd));
        // Clouds: soft bands of noise, lit from the sun's side.
        double cloud = noise.fbm(p.x / 9 + 3, p.s / 3.2, 5);
        double band = smoothstep(26, 6, p.s) * smoothstep(0, 5, p.s);
        double k = smoothstep(0.52, 0.72, cloud) * band;
        Rgba cloud_c = mix(hex(0xf7f2ee), hex(0xc8cbdc), smoothstep(0.6, 0.8, noise.fbm(p.x / 5, p.s / 2 + 9, 3)));
        c = mix(c, cloud_c, 0.85 * k);
        // Hills, each nearer layer clearer and greener.
        for (int layer = 0; layer < 4; ++layer) {
            double top = hills.ridge(layer, p.x);
            if (p.s < top) continue;
            Rgba h = layer == 0 ? hill_far : layer == 1 ? hill_mid : layer == 2 ? hill_near : meadow;
            double tex = noise.fbm(p.x / (2.5 - 0.4 * layer), p.s / 1.2 + 20 * layer, 4);
            h = shade(h, 0.88 + 0.28 * tex);
            // Sunlit rims and haze that thins towards us.
            h = mix(h, shade(h, 1.25), smoothstep(1.2, 0, p.s - top) * 0.5);
            h = mix(h, haze, (3 - layer) * 0.1 * (1 - smoothstep(top, top + 12, p.s) * 0.5));
            c = h;
        }
        return c;
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
            double sx = img_w / (2 * Background_art::half_width), sy = img_h / (2 * Background_art::half_height);
            img.paint(int(cx - 2 * across), int(cy), int(cx + 3 * across), int(py_of_s(s)) + 1, [&](double, double) {
                return shade(hex(0x4a3a2a), 0.9);
            });
            img.ellipse(cx, cy, size * sx, size * 1.25 * sy, 0, crown, 1.2);
            img.ellipse(cx - size * sx * 0.3, cy - size * sy * 0.4, size * sx * 0.55, size * sy * 0.6, 0,
                        shade(crown, 1.18), 1.2);
        }
    }
}

// Meadow flowers in the foreground.
void paint_meadow(Image& img, const Hills& hills, Rng& rng)
{
    for (int i = 0; i < 970; ++i) {
        double x = rng.range(-Background_art::half_width, Background_art::half_width);
        double s = rng.range(hills.ridge(3, x) + 0.5, 60);
        double depth = (s - 47) / 13;  // 0 far, 1 near
        double r = 0.8 + 2.2 * std::max(0.0, depth);
        const unsigned colours[] = {0xfaf6ea, 0xf4d33a, 0xe8533a, 0xc86ad8, 0x8fa8f0};
        Rgba c = hex(colours[rng.below(5)]);
        img.ellipse(px_of_x(x), py_of_s(s), r * across, r * 0.8, 0, c, 0.9);
    }
}

Image paint()
{
    Image img(img_w, img_h);
    const Hills hills;
    paint_sky_and_hills(img, hills);
    // One generator through the trees and the meadow, in that order.
    Rng rng(8);
    paint_trees(img, hills, rng);
    paint_meadow(img, hills, rng);
    return img;
}
}  // namespace

std::vector<Point> Background_art::garden_cover()
{
    // The scene draws the garden model at scale 2, tilted 30 degrees about X
    // (its far side up), 110 units from the eye; the background stands 200
    // units away at scale (4, 3, 3), its model +y pointing screen down.
    const double scale = 2, tilt = 30 * M_PI / 180, garden_distance = 110, sky_distance = 200;
    auto on_sky = [&](double x, double y, double z) {
        const double ex = scale * x, ey = scale * y, ez = scale * z;
        const double up = ey * std::cos(tilt) + ez * std::sin(tilt);
        const double away = garden_distance + ey * std::sin(tilt) - ez * std::cos(tilt);
        const double k = sky_distance / away;
        return Point{ex * k / 4, -up * k / 3};
    };
    // Circles inside the lawn's and the soil's polygons (their sides' middles
    // lie at cos(pi / segments) of the corners' radius), a quarter unit in.
    const double R = Garden_model::lawn_radius, margin = 0.25;
    const double inscribed = std::cos(M_PI / Garden_model::rim_segments);
    const double top_r = R * inscribed - margin;
    const double low_z = -Garden_model::soil_depth + margin;
    const double low_r = (R - Garden_model::soil_inset * (-low_z / Garden_model::soil_depth)) * inscribed - margin;
    std::vector<Point> points;
    const int n = 48;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        points.push_back(on_sky(top_r * std::cos(a), top_r * std::sin(a), 0));
        points.push_back(on_sky(low_r * std::cos(a), low_r * std::sin(a), low_z));
    }
    // Their convex hull, counter-clockwise (Andrew's monotone chain).
    std::sort(points.begin(), points.end(),
              [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    auto turn = [](Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); };
    std::vector<Point> hull(2 * points.size());
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

void Background_art::build(Art_pack& pack)
{
    Model_writer model;
    Mesh_builder b(model);
    // Unlit and drawn first, behind everything: no alpha test needed.
    b.mesh("#_sky.png");
    const double w = half_width, h = half_height;
    // Top edge at -y (screen top after the scene's turn), left edge at -x;
    // the picture is laid on by position, as on one whole quad.
    auto at = [](Point p) { return Vec3{p.x, p.y, 0}; };
    auto uv = [w, h](Point p) { return Uv{(p.x + w) / (2 * w), (p.y + h) / (2 * h)}; };
    // Left out: what the garden always covers. Every pixel of the sky is
    // shaded before the garden is drawn over it, and the lawn with its soil
    // is a blunt cone turning about its own axis, so its outline on the
    // screen never changes. Around it: a band above, a band below, and
    // between them slabs to the left and right whose inner edges are chords
    // of the outline (inside it, as the outline is convex). Few, wide
    // pieces: on software GL every edge across the screen costs more than
    // the pixels it saves.
    const std::vector<Point> hole = garden_cover();
    double top = hole[0].y, bottom = hole[0].y;
    for (Point p : hole) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // The outline's left and right ends at height y.
    auto across = [&hole](double y) {
        double left = 1e9, right = -1e9;
        for (size_t i = 0; i < hole.size(); ++i) {
            const Point p = hole[i], q = hole[(i + 1) % hole.size()];
            if ((y < p.y && y < q.y) || (y > p.y && y > q.y)) continue;
            const double x = p.y == q.y ? p.x : p.x + (q.x - p.x) * (y - p.y) / (q.y - p.y);
            const double x2 = p.y == q.y ? q.x : x;
            left = std::min({left, x, x2});
            right = std::max({right, x, x2});
        }
        return std::pair<double, double>{left, right};
    };
    auto piece = [&](Point p0, Point p1, Point p2, Point p3) {
        b.quad(at(p0), at(p1), at(p2), at(p3), uv(p0), uv(p1), uv(p2), uv(p3));
    };
    piece(Point{-w, -h}, Point{w, -h}, Point{w, top}, Point{-w, top});
    const int slabs = 8;
    for (int k = 0; k < slabs; ++k) {
        const double y0 = top + (bottom - top) * k / slabs, y1 = top + (bottom - top) * (k + 1) / slabs;
        const auto a = across(y0), c = across(y1);
        piece(Point{-w, y0}, Point{a.first, y0}, Point{c.first, y1}, Point{-w, y1});
        piece(Point{a.second, y0}, Point{w, y0}, Point{w, y1}, Point{c.second, y1});
    }
    piece(Point{-w, bottom}, Point{w, bottom}, Point{w, h}, Point{-w, h});
    pack.add_model(Pack_names::background, model);
    pack.add_image("#_sky.png", paint(), Image::Alpha::opaque);
}
