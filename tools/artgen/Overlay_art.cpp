#include "Overlay_art.h"

#include <cmath>

#include "Brush.h"
#include "Mesh_builder.h"
#include "Rng.h"

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
}  // namespace

void Overlay_art::build(Art_pack& pack, const Lettering& font)
{
    Model_writer model;
    Mesh_builder b(model);
    const double hw = panel_half_width, top = panel_top, bottom = panel_bottom;
    b.mesh("#$title.png");
    // Model +y is screen down: the image's top row goes to the smaller y.
    b.quad(Vec3{-hw, top, 0}, Vec3{hw, top, 0}, Vec3{hw, bottom, 0}, Vec3{-hw, bottom, 0}, Uv{0, 0}, Uv{1, 0},
           Uv{1, 1}, Uv{0, 1});

    // The garland: leaves along the panel's rim (a rounded rectangle),
    // alternately leaning out and in, blossoms at the corners and sides.
    b.mesh("#$garland.png");
    Rng rng(5);
    // The rim: a rectangle with round corners, walked by arc length so the
    // leaves sit evenly along the straight sides and round the corners.
    const double cy = (top + bottom) / 2, rx = hw + 1.5, ry = (bottom - top) / 2 + 1.5, rc = ry * 0.8;
    const double side_x = rx - rc, side_y = ry - rc;
    const double quarter = M_PI / 2 * rc, perimeter = 4 * side_x + 4 * side_y + 4 * quarter;
    auto rim = [&](double a) {
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
    };
    const int leaves = 96;
    for (int i = 0; i < leaves; ++i) {
        double a = 2 * M_PI * (i + 0.5 * rng.unit()) / leaves;
        Vec3 at = rim(a), next = rim(a + 0.05);
        double along_rim = std::atan2(next.y - at.y, next.x - at.x);
        double turn = along_rim + (i % 2 ? 0.6 : -0.6) + rng.range(-0.3, 0.3);
        double len = rng.range(7.5, 10.5);
        int cell = rng.below(8);
        // A leaf card from its base: u along the leaf, v across, 2 : 1.
        Vec3 along{std::cos(turn) * len / 2, std::sin(turn) * len / 2, 0};
        Vec3 across{-std::sin(turn) * len / 4, std::cos(turn) * len / 4, 0};
        double u0 = (cell % 4) * 0.25, v0 = (cell / 4) * 0.25;
        b.card(at + along * 0.8, along, across, u0, v0, u0 + 0.25, v0 + 0.25);
    }
    const double spots[][2] = {{-hw, top}, {hw, top}, {-hw, bottom}, {hw, bottom},
                               {-hw * 0.5, top - 1.5}, {hw * 0.5, bottom + 1.5}, {-rx - 1, cy}, {rx + 1, cy}};
    for (int i = 0; i < 8; ++i) {
        int cell = i % 4;
        double s = 3.4;
        b.card(Vec3{spots[i][0], spots[i][1], 0}, Vec3{s, 0, 0}, Vec3{0, s, 0}, cell * 0.25, 0.5,
               cell * 0.25 + 0.25, 1.0);
    }

    pack.add_model("nn", model);
    pack.add_image("#$title.png", title(font), Image::Alpha::soft);
    pack.add_image("#$garland.png", garland_parts(), Image::Alpha::soft);
}
