#include "Background_art.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Garden_model.h"

#include "Mesh_builder.h"
#include "Noise.h"
#include "Rng.h"
#include "Sky_cut.h"
#include "resources/Background_fit.h"
#include "resources/Pack_names.h"

namespace {
// The picture is painted whole and stored as two tiles, its left and right
// halves: plain OpenGL 1.1 takes no texture over 1024 on a side. Each tile
// is 1024 x 512 (as many texels as the one picture before, so decoding and
// uploading cost no more) and the column where they meet (x = 0) is in
// both, so either side samples the same colour there. Texel centres lie on
// the quad's edges, so linear filtering never reaches round to the far side
// of a tile (the wrap mode stays the default, repeat). The hills' ridges
// are painted with coverage, so magnified (about 2.3 times on a 1080-line
// screen) their outline stays smooth, without steps.
const int tile_w = 1024, tile_h = 512;
const int img_w = 2 * tile_w - 1, img_h = tile_h;
// Texels a model unit, across and down.
const double per_x = (img_w - 1) / (2 * Background_art::half_width);
const double per_s = (img_h - 1) / (2 * Background_art::half_height);

// The picture is painted in the quad's own units: X from -50 (left) to 50,
// S from 0 (top of the screen) to 60 (bottom). Sky and hills run on at the
// sides; the sun and the middle stay where a 4:3 screen shows them.
struct Place {
    double x, s;
};
Place place_of(double px, double py)
{
    return Place{-Background_art::half_width + (px - 0.5) / per_x, (py - 0.5) / per_s};
}
double px_of_x(double x) { return (x + Background_art::half_width) * per_x + 0.5; }
double py_of_s(double s) { return s * per_s + 0.5; }
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
        // Round on the screen, not in the quad's units.
        double sd = std::hypot((p.x - sun.x) * screen_x, p.s - sun.s);
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
        img.ellipse(px_of_x(x), py_of_s(s), r * across, r * 0.094 * per_s, 0, c, 0.9);
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

std::vector<Point> Background_art::hole(const std::vector<Point>& cover, int corners)
{
    double x0 = cover[0].x, x1 = x0, y0 = cover[0].y, y1 = y0;
    for (Point p : cover) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    const Point centre{(x0 + x1) / 2, (y0 + y1) / 2};
    // Where rays from the middle, evenly turned and starting straight up
    // (least y), leave the outline.
    std::vector<Point> out;
    for (int k = 0; k < corners; ++k) {
        const double a = -M_PI / 2 + 2 * M_PI * k / corners, dx = std::cos(a), dy = std::sin(a);
        double best = 0;
        for (size_t i = 0; i < cover.size(); ++i) {
            const Point p = cover[i], q = cover[(i + 1) % cover.size()];
            const double ex = q.x - p.x, ey = q.y - p.y, den = dx * ey - dy * ex;
            if (std::fabs(den) < 1e-12) continue;
            const double t = ((p.x - centre.x) * ey - (p.y - centre.y) * ex) / den;
            const double u = ((p.x - centre.x) * dy - (p.y - centre.y) * dx) / den;
            if (t > 0 && u >= -1e-9 && u <= 1 + 1e-9) best = std::max(best, t);
        }
        out.push_back(Point{centre.x + best * dx, centre.y + best * dy});
    }
    return out;
}

std::vector<Sky_cut::Triangle> Background_art::sky_triangles()
{
    // A 4:3 screen shows +-27.6 units each way (45 degrees of view, 200
    // units away, scale 4 across and 3 down).
    const double shown = 200 * std::tan(22.5 * M_PI / 180) / 3;
    const Sky_cut::Screen screen{shown, shown, 512 / shown, 384 / shown};
    const double px_area = screen.px_per_x * screen.px_per_y;
    auto area = [](const std::vector<Point>& poly) {
        double a = 0;
        for (size_t i = 0; i < poly.size(); ++i) {
            const Point p = poly[i], q = poly[(i + 1) % poly.size()];
            a += p.x * q.y - q.x * p.y;
        }
        return std::fabs(a) / 2;
    };
    const std::vector<Point> cover = garden_cover();
    const double cover_area = area(cover);
    // Above and below, the sky's corners may lie far off the screen (no
    // window ever shows more than +-27.6 units down), so the edges between
    // the triangles there leave it straight up and down, by the shortest way.
    const double beyond = 10 * half_height;
    // Pixels shaded beyond the sky's own: about six for each pixel of an
    // inner edge's screen length (measured on llvmpipe: strips of a
    // full-screen quad cost 340 instructions per pixel of edge, a pixel of
    // the quad 57), and the sky under the garden the hole misses.
    std::vector<Sky_cut::Triangle> best;
    double best_cost = 0;
    for (int corners = 8; corners <= 24; corners += 2) {
        const std::vector<Point> h = hole(cover, corners);
        std::vector<Sky_cut::Triangle> t = Sky_cut::around(h, half_width, beyond, screen);
        if (t.empty()) continue;
        double edges = 0;
        for (const Sky_cut::Triangle& tri : t)
            for (int e = 0; e < 3; ++e) edges += Sky_cut::screen_length(tri[e], tri[(e + 1) % 3], screen);
        // Every inner edge is counted twice above, the hole's edges once.
        const double cost = 6.0 * edges / 2 + (cover_area - area(h)) * px_area;
        if (best.empty() || cost < best_cost) best = t, best_cost = cost;
    }
    if (best.empty()) {
        // No hole fits: the whole picture, shaded under the garden too.
        const Point a{-half_width, -half_height}, b{half_width, -half_height}, c{half_width, half_height},
                    d{-half_width, half_height};
        best = {{a, b, c}, {a, c, d}};
    }
    return best;
}

namespace {
const char* const tile_names[2] = {"#_sky_left.png", "#_sky_right.png"};

// Triangles of the quad's plane, each laid into the tile of its half (by
// its middle; none crosses x = 0), the picture laid on by position.
Model_writer sky_model(const std::vector<Sky_cut::Triangle>& triangles)
{
    Model_writer model;
    Mesh_builder b(model);
    const double w = Background_art::half_width, h = Background_art::half_height;
    for (int side = 0; side < 2; ++side) {
        // Unlit and drawn first, behind everything: no alpha test needed.
        b.mesh(tile_names[side]);
        const double left = side == 0 ? -w : 0;
        auto at = [](Point p) { return Vec3{p.x, p.y, 0}; };
        auto uv = [left, h](Point p) {
            return Uv{(0.5 + (p.x - left) * per_x) / tile_w, (0.5 + (p.y + h) * per_s) / tile_h};
        };
        for (const Sky_cut::Triangle& t : triangles)
            if ((t[0].x + t[1].x + t[2].x < 0) == (side == 0))
                b.triangle(at(t[0]), at(t[1]), at(t[2]), uv(t[0]), uv(t[1]), uv(t[2]));
    }
    return model;
}
}  // namespace

std::vector<Sky_cut::Triangle> Background_art::whole_triangles()
{
    const double w = half_width, h = half_height;
    std::vector<Sky_cut::Triangle> out;
    for (double left : {-w, 0.0}) {
        const Point a{left, -h}, b{left + w, -h}, c{left + w, h}, d{left, h};
        out.push_back({a, b, c});
        out.push_back({a, c, d});
    }
    return out;
}

void Background_art::build(Art_pack& pack)
{
    // Top edge at -y (screen top after the scene's turn), left edge at -x.
    // The whole picture is the background anyone's garden stands before.
    const Model_writer whole = sky_model(whole_triangles());
    pack.add_model(Pack_names::background, whole);
    // Beside it, the same picture less what the shipped garden always
    // covers: every pixel of the sky is shaded before the garden is drawn
    // over it, and the lawn with its soil is a blunt cone turning about its
    // own axis, so its outline on the screen never changes. The hole is a
    // polygon with its corners on that outline (so inside it, as the outline
    // is convex); more corners leave out more sky but bring more edges
    // across it, and the count is the one that shades the fewest pixels on
    // a 4:3 screen. The scene draws it only while the tree and the whole
    // background are the ones it was cut for.
    const std::vector<uint8_t> whole_bytes = whole.bytes();
    const std::vector<uint8_t>& tree = pack.entry(Pack_names::tree);
    const std::string cut = Background_fit::cut_name(Pak_entry{tree.data(), int32_t(tree.size())},
                                                     Pak_entry{whole_bytes.data(), int32_t(whole_bytes.size())});
    pack.add_model(cut, sky_model(sky_triangles()));
    const Image picture = paint();
    for (int side = 0; side < 2; ++side)
        pack.add_image(tile_names[side], picture.part(side * (tile_w - 1), 0, tile_w, tile_h), Image::Alpha::opaque);
}
