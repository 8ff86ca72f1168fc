#include "Background_art.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Background_picture.h"
#include "Garden_model.h"
#include "Mesh_builder.h"
#include "Sky_cut.h"
#include "resources/Background_fit.h"
#include "resources/Pack_names.h"

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
    // Above and below, the sky's corners may lie far off the screen, so the
    // edges between the triangles there leave it straight up and down, by
    // the shortest way. Past the picture's own +-60 units (which no view
    // passes: a landscape one shows +-27.6, the narrowest portrait +-55.2)
    // it repeats unseen.
    const double beyond = 300;
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
using P = Background_picture;

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
            return Uv{(0.5 + (p.x - left) * P::per_x()) / P::tile_w, (0.5 + (p.y + h) * P::per_y()) / P::tile_h};
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
    const Image picture = P::paint();
    for (int side = 0; side < 2; ++side)
        pack.add_image(tile_names[side], picture.part(side * (P::tile_w - 1), 0, P::tile_w, P::tile_h),
                       Image::Alpha::opaque);
}
