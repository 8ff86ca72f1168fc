#include "Overlay_art.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Brush.h"
#include "Mesh_builder.h"
#include "Rng.h"
#include "resources/Pack_names.h"

namespace {
// Blended meshes draw colour + what is behind x alpha. A picture painted as
// usual (straight colour, alpha = coverage) over a glow that only adds light
// becomes: colour = picture x coverage + glow, alpha = 1 - coverage.
Image for_blending(const Image& picture, const Image* glow)
{
    Image out(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Rgba& p = picture.at(x, y);
            Rgba add = glow ? glow->at(x, y) : Rgba{0, 0, 0, 0};
            float k = 1 - p.a;
            out.at(x, y) = Rgba{clamp01(p.r * p.a + add.r * add.a * k), clamp01(p.g * p.a + add.g * add.a * k),
                                clamp01(p.b * p.a + add.b * add.a * k), k};
        }
    return out;
}

// Box blur, three passes, of a coverage mask.
std::vector<float> blurred(const Coverage& c, int radius)
{
    std::vector<float> a = c.value, b(a.size());
    int w = c.width, h = c.height;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k) s += a[size_t(y) * w + std::min(w - 1, std::max(0, x + k))];
                b[size_t(y) * w + x] = s / (2 * radius + 1);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k) s += b[size_t(std::min(h - 1, std::max(0, y + k))) * w + x];
                a[size_t(y) * w + x] = s / (2 * radius + 1);
            }
    }
    return a;
}

Image title(const Lettering& font)
{
    const int w = 512, h = 128;
    Image picture(w, h), glow(w, h);
    // The panel: a rounded bar that dims the garden behind the letters.
    const double r = 48;
    picture.paint_all([&](double x, double y) {
        double dx = std::max(0.0, std::fabs(x - w / 2.0) - (w / 2.0 - r - 6));
        double dy = std::max(0.0, std::fabs(y - h / 2.0) - (h / 2.0 - r - 6));
        double d = std::sqrt(dx * dx + dy * dy);
        return Rgba{0.02f, 0.06f, 0.03f, float(0.55 * smoothstep(r, r - 22, d))};
    });
    Coverage text = font.render("Gardenlume", 66, 16);
    std::vector<float> halo = blurred(text, 5);
    int ox = (w - text.width) / 2, oy = (h - text.height) / 2 + 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int tx = x - ox, ty = y - oy;
            bool in = tx >= 0 && ty >= 0 && tx < text.width && ty < text.height;
            float cover = in ? text.at(tx, ty) : 0.0f;
            float soft = in ? halo[size_t(ty) * text.width + tx] : 0.0f;
            // A warm glow round the letters, added to the garden's light.
            glow.at(x, y) = Rgba{1.0f, 0.82f, 0.38f, clamp01(soft * 1.6)};
            if (cover > 0) {
                // Letters: pale gold to warm amber from top to bottom.
                double t = double(ty) / text.height;
                Rgba c = mix(hex(0xfff8de), hex(0xf2b44a), smoothstep(0.25, 0.85, t));
                picture.blend(x, y, c, cover);
            }
        }
    return for_blending(picture, &glow);
}

// The garland's parts: eight leaves in 64 x 32 cells (upper half), four
// blossoms in 64 x 64 cells (lower half).
Image garland_parts()
{
    Image img(256, 128);
    const unsigned leaf_colours[] = {0x4f9a34, 0x6fb545, 0x3c8a3a, 0x8cc052,
                                     0x5aa83c, 0x78b848, 0x468f36, 0x9ccc5e};
    for (int i = 0; i < 8; ++i)
        Brush::leaf(img, (i % 4) * 64 + 3, (i / 4) * 32 + 16, 0, 58, 26, hex(leaf_colours[i]), hex(0xd6f0a8));
    const unsigned petals[] = {0xfaf6ea, 0xf7c4dc, 0xfbe27a, 0xc9b6f2};
    for (int i = 0; i < 4; ++i) {
        double cx = 32 + i * 64, cy = 96;
        for (int k = 0; k < 5; ++k)
            Brush::petal(img, cx, cy, k * 2 * M_PI / 5 + i, 3, 25, 19, hex(petals[i]), hex(0xffffff));
        img.ellipse(cx, cy, 6, 6, 0, hex(0xf5c42a));
    }
    return for_blending(img, nullptr);
}

// Whether a blended texel leaves what is behind it as it was.
bool see_through(const Rgba& p)
{
    const float e = 0.5f / 255;
    return p.r < e && p.g < e && p.b < e && p.a > 1 - e;
}

// A card showing one cell of a blended picture, trimmed to the box of the
// texels in the cell that draw anything (one texel to spare): the same
// picture in the same place, fewer blended pixels. The cell is the texture
// rectangle (u0, v0)-(u1, v1), as for Mesh_builder::card.
void trimmed_card(Mesh_builder& b, const Image& img, Vec3 c, Vec3 half_u, Vec3 half_v, double u0, double v0,
                  double u1, double v1)
{
    const int w = img.width(), h = img.height();
    const int cx0 = int(std::lround(u0 * w)), cx1 = int(std::lround(u1 * w));
    const int cy0 = int(std::lround(v0 * h)), cy1 = int(std::lround(v1 * h));
    int x0 = cx1, x1 = cx0, y0 = cy1, y1 = cy0;
    for (int y = cy0; y < cy1; ++y)
        for (int x = cx0; x < cx1; ++x)
            if (!see_through(img.at(x, y))) {
                x0 = std::min(x0, x), x1 = std::max(x1, x + 1);
                y0 = std::min(y0, y), y1 = std::max(y1, y + 1);
            }
    if (x0 >= x1) return;
    x0 = std::max(cx0, x0 - 1), x1 = std::min(cx1, x1 + 1), y0 = std::max(cy0, y0 - 1), y1 = std::min(cy1, y1 + 1);
    // Fractions of the cell kept, across and down.
    double f0 = double(x0 - cx0) / (cx1 - cx0), f1 = double(x1 - cx0) / (cx1 - cx0);
    double g0 = double(y0 - cy0) / (cy1 - cy0), g1 = double(y1 - cy0) / (cy1 - cy0);
    b.card(c + half_u * (f0 + f1 - 1) + half_v * (g0 + g1 - 1), half_u * (f1 - f0), half_v * (g1 - g0),
           double(x0) / w, double(y0) / h, double(x1) / w, double(y1) / h);
}

// The corners, clockwise on the screen from the top left, of an octagon
// holding every texel of a blended picture that changes what is behind it
// (anything but colour 0 with alpha 1), in texels, one texel to spare for
// the filtering: its sides are the tightest box and the tightest 45 degree
// cuts of its corners. The rest of the picture is never drawn; every
// blended pixel costs frame time.
std::vector<Uv> drawn_outline(const Image& img)
{
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9, s0 = 1e9, s1 = -1e9, d0 = 1e9, d1 = -1e9;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (see_through(img.at(x, y))) continue;
            x0 = std::min<double>(x0, x), x1 = std::max<double>(x1, x + 1);
            y0 = std::min<double>(y0, y), y1 = std::max<double>(y1, y + 1);
            s0 = std::min<double>(s0, x + y), s1 = std::max<double>(s1, x + y + 2);
            d0 = std::min<double>(d0, x - y - 1), d1 = std::max<double>(d1, x - y + 1);
        }
    if (x0 > x1) return {};
    const double m = 1, w = img.width(), h = img.height();
    x0 = std::max(0.0, x0 - m), x1 = std::min(w, x1 + m), y0 = std::max(0.0, y0 - m), y1 = std::min(h, y1 + m);
    s0 -= 2 * m, s1 += 2 * m, d0 -= 2 * m, d1 += 2 * m;
    // Each cut meets the box's sides where x + y or x - y reaches its bound;
    // a cut that misses the corner leaves the box's corner.
    auto cx = [](double v, double lo, double hi) { return std::min(hi, std::max(lo, v)); };
    return {Uv{cx(s0 - y0, x0, x1), y0}, Uv{cx(d1 + y0, x0, x1), y0},  // top side
            Uv{x1, cx(x1 - d1, y0, y1)}, Uv{x1, cx(s1 - x1, y0, y1)},  // right side
            Uv{cx(s1 - y1, x0, x1), y1}, Uv{cx(d0 + y1, x0, x1), y1},  // bottom side
            Uv{x0, cx(x0 - d0, y0, y1)}, Uv{x0, cx(s0 - x0, y0, y1)}}; // left side
}
// Only the title's drawn octagon is drawn, as a fan. The picture spans the
// panel's box; model +y is screen down, so the image's top row goes to the
// smaller y.
void title_fan(Mesh_builder& b, const Image& title_image)
{
    const double hw = Overlay_art::panel_half_width, top = Overlay_art::panel_top, bottom = Overlay_art::panel_bottom;
    std::vector<Uv> outline = drawn_outline(title_image);
    std::vector<Vec3> at;
    for (Uv& t : outline) {
        t.u /= title_image.width(), t.v /= title_image.height();
        at.push_back(Vec3{-hw + 2 * hw * t.u, top + (bottom - top) * t.v, 0});
    }
    for (size_t i = 2; i < outline.size(); ++i) b.triangle(at[0], at[i - 1], at[i], outline[0], outline[i - 1], outline[i]);
}

// The garland's rim round the panel: a rectangle with round corners, walked
// by arc length so the leaves sit evenly along the straight sides and round
// the corners.
struct Garland_rim {
    const double hw = Overlay_art::panel_half_width, top = Overlay_art::panel_top, bottom = Overlay_art::panel_bottom;
    const double cy = (top + bottom) / 2, rx = hw + 1.5, ry = (bottom - top) / 2 + 1.5, rc = ry * 0.8;
    const double side_x = rx - rc, side_y = ry - rc;
    const double quarter = M_PI / 2 * rc, perimeter = 4 * side_x + 4 * side_y + 4 * quarter;

    // The point a (radians) of the way round.
    Vec3 at(double a) const
    {
        double d = std::fmod(a / (2 * M_PI) * perimeter, perimeter);
        // Sides and corners in turn, from the top left corner's end clockwise
        // on the screen (+y is down).
        const double lengths[8] = {2 * side_x, quarter, 2 * side_y, quarter, 2 * side_x, quarter, 2 * side_y, quarter};
        int part = 0;
        while (part < 7 && d > lengths[part]) d -= lengths[part++];
        switch (part) {
        case 0: return Vec3{-side_x + d, cy - ry, 0};
        case 2: return Vec3{rx, cy - side_y + d, 0};
        case 4: return Vec3{side_x - d, cy + ry, 0};
        case 6: return Vec3{-rx, cy + side_y - d, 0};
        default: {
            // Corner centres: top right, bottom right, bottom left, top left.
            const double cx_of[4] = {side_x, side_x, -side_x, -side_x}, cy_of[4] = {-side_y, side_y, side_y, -side_y};
            int k = part / 2;
            double ang = -M_PI / 2 + k * M_PI / 2 + d / rc;
            return Vec3{cx_of[k] + rc * std::cos(ang), cy + cy_of[k] + rc * std::sin(ang), 0};
        }
        }
    }
};

// Leaves along the rim, alternately leaning out and in.
void garland_leaves(Mesh_builder& b, const Image& garland, const Garland_rim& rim, Rng& rng)
{
    const int leaves = 96;
    for (int i = 0; i < leaves; ++i) {
        double a = 2 * M_PI * (i + 0.5 * rng.unit()) / leaves;
        Vec3 at = rim.at(a), next = rim.at(a + 0.05);
        double along_rim = std::atan2(next.y - at.y, next.x - at.x);
        double turn = along_rim + (i % 2 ? 0.6 : -0.6) + rng.range(-0.3, 0.3);
        double len = rng.range(7.5, 10.5);
        int cell = rng.below(8);
        // A leaf card from its base: u along the leaf, v across, 2 : 1.
        Vec3 along{std::cos(turn) * len / 2, std::sin(turn) * len / 2, 0};
        Vec3 across{-std::sin(turn) * len / 4, std::cos(turn) * len / 4, 0};
        double u0 = (cell % 4) * 0.25, v0 = (cell / 4) * 0.25;
        trimmed_card(b, garland, at + along * 0.8, along, across, u0, v0, u0 + 0.25, v0 + 0.25);
    }
}

// Blossoms at the panel's corners and sides.
void garland_blossoms(Mesh_builder& b, const Image& garland, const Garland_rim& rim)
{
    const double hw = rim.hw, top = rim.top, bottom = rim.bottom, rx = rim.rx, cy = rim.cy;
    const double spots[][2] = {{-hw, top}, {hw, top}, {-hw, bottom}, {hw, bottom},
                               {-hw * 0.5, top - 1.5}, {hw * 0.5, bottom + 1.5}, {-rx - 1, cy}, {rx + 1, cy}};
    for (int i = 0; i < 8; ++i) {
        int cell = i % 4;
        double s = 3.4;
        trimmed_card(b, garland, Vec3{spots[i][0], spots[i][1], 0}, Vec3{s, 0, 0}, Vec3{0, s, 0}, cell * 0.25,
                     0.5, cell * 0.25 + 0.25, 1.0);
    }
}
}  // namespace

void Overlay_art::build(Art_pack& pack, const Lettering& font)
{
    Model_writer model;
    Mesh_builder b(model);
    Image title_image = title(font);
    b.mesh("#$title.png");
    title_fan(b, title_image);

    // The garland: leaves along the panel's rim (a rounded rectangle),
    // blossoms at the corners and sides.
    Image garland = garland_parts();
    b.mesh("#$garland.png");
    Rng rng(5);
    const Garland_rim rim{};
    garland_leaves(b, garland, rim, rng);
    garland_blossoms(b, garland, rim);

    pack.add_model(Pack_names::overlay, model);
    pack.add_image("#$title.png", title_image, Image::Alpha::soft);
    pack.add_image("#$garland.png", garland, Image::Alpha::soft);
}
