// The builder's models read by the saver's own reader (Model_header and
// Mesh::parse, which upload the textures, so these tests need GL), and the
// geometry facts the scene relies on: where each model stands, which way it
// faces, how many triangles the whole scene draws.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/Byte_cursor.h"
#include "platform/Monitor_views.h"
#include "resources/Mesh.h"
#include "resources/Model_header.h"
#include "resources/Pak.h"
#include "resources/Pak_cache.h"
#include "resources/Pack_names.h"
#include "tests/tools/artgen/Art_files.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"
#include "tests/support/Test_models.h"

namespace {

using Model = Test_models::Loaded;

Model load(const std::string& pack, const std::string& entry)
{
    // Loading reads no clock; this also pulls the test binary's tick seam in,
    // which the library's animation code links against.
    Test_clock::use_real();
    pak_cache.set_directory(art::bin_dir() + "/");
    return Test_models::load(pack, entry);
}

using Corner = Mesh_record::Corner;

std::vector<Corner> corners(const Mesh& m)
{
    std::vector<Corner> out;
    for (int32_t t = 0; t < m.triangle_count; ++t)
        for (size_t k = 0; k < 3; ++k) out.push_back(m.corner(t, k));
    return out;
}

std::vector<Corner> corners(const Model& model)
{
    std::vector<Corner> all;
    for (const Mesh& m : model.meshes) {
        std::vector<Corner> c = corners(m);
        all.insert(all.end(), c.begin(), c.end());
    }
    return all;
}

struct Box {
    double x0 = 1e30, y0 = 1e30, z0 = 1e30, x1 = -1e30, y1 = -1e30, z1 = -1e30;
};
Box bounds(const std::vector<Corner>& cs)
{
    Box b;
    for (const Corner& c : cs) {
        b.x0 = std::min(b.x0, c.x), b.y0 = std::min(b.y0, c.y), b.z0 = std::min(b.z0, c.z);
        b.x1 = std::max(b.x1, c.x), b.y1 = std::max(b.y1, c.y), b.z1 = std::max(b.z1, c.z);
    }
    return b;
}

// Half the view at a distance from the eye, for the 45 degree vertical field.
double half_height_at(double distance) { return distance * std::tan(22.5 * M_PI / 180); }

}  // namespace

TEST(Art_models, every_model_reads_to_its_end_and_every_texture_resolves)
{
    REQUIRE_GL();
    std::vector<std::pair<std::string, std::string>> models = {
        {Pack_names::main_pack, Pack_names::tree}, {Pack_names::main_pack, Pack_names::background},
        {Pack_names::main_pack, art::cut_background()}, {Pack_names::main_pack, Pack_names::overlay}};
    for (const std::string& pack : art::butterfly_packs()) {
        models.push_back({pack, Pack_names::wing});
        models.push_back({pack, Pack_names::body});
    }
    for (const auto& pm : models) {
        Model m = load(pm.first, pm.second);
        EXPECT_TRUE(m.read_to_end) << pm.first << ": " << pm.second << " does not read to its last byte";
        for (const Mesh& mesh : m.meshes) {
            EXPECT_NE(0u, mesh.texture) << pm.first << ": " << pm.second << " names \"" << mesh.texture_name
                                        << "\", which is not there or does not decode";
            EXPECT_GT(mesh.triangle_count, 0) << pm.first << ": " << pm.second << ": empty mesh";
        }
    }
}

TEST(Art_models, whole_scene_draws_fewer_than_20000_triangles)
{
    REQUIRE_GL();
    int total = load(Pack_names::main_pack, Pack_names::tree).triangles() + load(Pack_names::main_pack, art::cut_background()).triangles() +
                load(Pack_names::main_pack, Pack_names::overlay).triangles();
    // Four butterflies, each a body and two wings; count the heaviest pack four times.
    int heaviest = 0;
    for (const std::string& pack : art::butterfly_packs())
        heaviest = std::max(heaviest, load(pack, Pack_names::body).triangles() + 2 * load(pack, Pack_names::wing).triangles());
    total += 4 * heaviest;
    EXPECT_LT(total, 20000);
}

TEST(Art_models, tree_carries_a_plasma_mesh_so_the_pond_animates)
{
    REQUIRE_GL();
    Model tree = load(Pack_names::main_pack, Pack_names::tree);
    int plasma = 0;
    for (const Mesh& m : tree.meshes)
        if (std::strncmp(m.texture_name, "##Plasma", 8) == 0) {
            ++plasma;
            EXPECT_NE(0u, m.texture) << m.texture_name << " was refused by the generator registry";
        }
    EXPECT_GE(plasma, 1);
}

// The background stands 200 units from the eye at scale (4, 3, 3), turned
// 180 degrees about Y and Z: model +y is screen down, model +x screen right.
TEST(Art_models, background_covers_5_4_to_21_9_windows_upright_and_not_mirrored)
{
    REQUIRE_GL();
    std::vector<Corner> cs = corners(load(Pack_names::main_pack, art::cut_background()));
    ASSERT_FALSE(cs.empty());
    Box b = bounds(cs);
    const double half_h = half_height_at(200), half_w = half_h * 21 / 9;
    EXPECT_LE(b.x0 * 4, -half_w);
    EXPECT_GE(b.x1 * 4, half_w);
    EXPECT_LE(b.y0 * 3, -half_h);
    EXPECT_GE(b.y1 * 3, half_h);
    for (const Corner& c : cs) {
        // The image's top row (v = 0) at the screen's top (-y), its left
        // column (u = 0) at the screen's left (-x).
        if (c.y == b.y0) {
            EXPECT_LT(c.v, 0.5) << "background upside down";
        }
        if (c.x == b.x0) {
            EXPECT_LT(c.u, 0.5) << "background mirrored";
        }
    }
}

// Two sky triangles over one pixel shade it twice. The background the
// shipped garden draws leaves the garden's middle out; the whole one, drawn
// behind a tree of one's own, leaves out nothing (but its middle edge).
// Wherever a view looks, from a 21:9 window to the narrowest portrait, it
// shows the picture's own rows, never the repeat beyond them.
TEST(Art_models, sky_triangles_never_overlap_leave_out_only_the_garden_and_hold_the_picture_wherever_a_view_looks)
{
    REQUIRE_GL();
    auto side = [](const Corner& a, const Corner& b, double x, double y) {
        return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    };
    // In the background's units (scale 4 across, 3 down, 200 units away).
    const double wide_h = half_height_at(200) / 3, wide_w = half_height_at(200) * 21 / 9 / 4;
    const double narrowest = Monitor_views::fov_y(Monitor_views::narrowest_widened);
    const double tall_h = 200 * std::tan(narrowest / 2 * M_PI / 180) / 3, tall_w = half_height_at(200) / 4;
    for (const bool cut : {true, false}) {
        const std::vector<Corner> cs = corners(load(Pack_names::main_pack, cut ? art::cut_background() : Pack_names::background));
        for (double y = -tall_h; y <= tall_h; y += tall_h / 193)
            for (double x = -wide_w; x <= wide_w; x += wide_w / 101) {
                if (std::fabs(y) > wide_h && std::fabs(x) > tall_w) continue;  // no view looks there
                int inside = 0;
                double v = 0.5;
                for (size_t t = 0; t + 2 < cs.size(); t += 3) {
                    const double d0 = side(cs[t], cs[t + 1], x, y), d1 = side(cs[t + 1], cs[t + 2], x, y),
                                 d2 = side(cs[t + 2], cs[t], x, y);
                    if (!(d0 > 1e-9 && d1 > 1e-9 && d2 > 1e-9) && !(d0 < -1e-9 && d1 < -1e-9 && d2 < -1e-9)) continue;
                    ++inside;
                    v = (d1 * cs[t].v + d2 * cs[t + 1].v + d0 * cs[t + 2].v) / (d0 + d1 + d2);
                }
                ASSERT_LE(inside, 1) << "at " << x << ", " << y;
                const bool middle = std::fabs(x) < 5 && std::fabs(y) < 5;
                ASSERT_TRUE(cut ? !(middle && inside) : inside == 1 || std::fabs(x) < 1e-6) << cut << " at " << x << ", " << y;
                ASSERT_TRUE(v >= 0 && v <= 1) << cut << ": beyond the picture at " << x << ", " << y << " (v " << v << ")";
            }
    }
}

// The garden turns every part of it to the far side, where the scene (scale
// 2, tilted 30 degrees, 110 units away) shows the lawn's rim against the
// sky: a tuft or leaf card higher on the screen shows as a green blob
// floating over the lawn. (Flower heads may: flowers on the skyline.)
TEST(Art_models, no_tuft_or_leaf_card_rises_over_the_far_rim_into_the_sky)
{
    REQUIRE_GL();
    auto height = [](double out, double z) {
        const double t = 30 * M_PI / 180, y = 2 * out, h = 2 * z;
        return (y * std::cos(t) + h * std::sin(t)) / (110 + y * std::sin(t) - h * std::cos(t));
    };
    int checked = 0;
    for (const Mesh& m : load(Pack_names::main_pack, Pack_names::tree).meshes) {
        const std::string name = m.texture_name;
        if (name != "__tuft.png" && name != "__leaves1.png" && name != "__leaves2.png") continue;
        ++checked;
        for (const Corner& c : corners(m))
            EXPECT_LE(height(std::hypot(c.x, c.y), c.z), height(15 * std::cos(M_PI / 32), 0)) << name << " " << c.x << ", " << c.y;
    }
    EXPECT_EQ(3, checked);
}

// The overlay stands at the scene origin, 100 units from the eye, at scale
// 0.5 and turned like the background. It is drawn last with the depth test
// on, and the tree and butterflies come nearer than that plane.
TEST(Art_models, overlay_fits_a_5_4_screen_reads_upright_and_is_never_cut_by_the_garden)
{
    REQUIRE_GL();
    Model nn = load(Pack_names::main_pack, Pack_names::overlay);
    ASSERT_FALSE(nn.meshes.empty());
    Box b = bounds(corners(nn));
    const double half_h = half_height_at(100), half_w = half_h * 5 / 4;
    EXPECT_GE(b.x0 * 0.5, -half_w);
    EXPECT_LE(b.x1 * 0.5, half_w);
    EXPECT_GE(b.y0 * 0.5, -half_h);
    EXPECT_LE(b.y1 * 0.5, half_h);
    for (const Mesh& m : nn.meshes) EXPECT_TRUE(m.blended) << m.texture_name << " would be hidden by the tree";
    // The lettering's top row lies towards -y (the screen's top).
    std::vector<Corner> title = corners(nn.meshes.front());
    Box tb = bounds(title);
    for (const Corner& c : title)
        if (c.y == tb.y0) {
            EXPECT_LT(c.v, 0.5) << "lettering upside down";
        }
}

// The overlay's meshes are trimmed to what their pictures draw; a trim that
// cut too deep would clip the lettering, its glow or a leaf. Every texel that
// changes what is behind it (anything but colour 0 with alpha 1) must lie
// inside some triangle of its mesh, in texture space.
TEST(Art_models, overlay_trim_never_cuts_off_a_texel_that_shows)
{
    REQUIRE_GL();
    Model nn = load(Pack_names::main_pack, Pack_names::overlay);
    ASSERT_FALSE(nn.meshes.empty());
    Pak pak;
    ASSERT_EQ(Read_reason::ok, pak.read_file(art::bin_dir() + "/main.pak"));
    for (const Mesh& m : nn.meshes) {
        Pak_entry bytes = pak.find(m.texture_name);
        ASSERT_FALSE(bytes.empty()) << m.texture_name;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data, size_t(bytes.size))) << m.texture_name;
        image.format = PNG_FORMAT_RGBA;
        std::vector<uint8_t> px(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, px.data(), 0, nullptr)) << m.texture_name;
        const int w = int(image.width), h = int(image.height);
        std::vector<bool> covered(size_t(w) * h, false);
        std::vector<Corner> cs = corners(m);
        for (size_t t = 0; t + 2 < cs.size(); t += 3) {
            const Corner *a = &cs[t], *b = &cs[t + 1], *c = &cs[t + 2];
            auto side = [](const Corner* p, const Corner* q, double u, double v) {
                return (q->u - p->u) * (v - p->v) - (q->v - p->v) * (u - p->u);
            };
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    double u = (x + 0.5) / w, v = (y + 0.5) / h;
                    double s0 = side(a, b, u, v), s1 = side(b, c, u, v), s2 = side(c, a, u, v);
                    if ((s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0))
                        covered[size_t(y) * w + x] = true;
                }
        }
        int cut = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = &px[(size_t(y) * w + x) * 4];
                bool shows = p[0] != 0 || p[1] != 0 || p[2] != 0 || p[3] != 255;
                cut += shows && !covered[size_t(y) * w + x];
            }
        EXPECT_EQ(0, cut) << m.texture_name << ": texels that show lie outside every triangle";
    }
}

// A wing hinges on the body's X axis and reaches out along +Y; at scale 0.2
// two of them span about six scene units.
TEST(Art_models, every_wing_hinges_on_the_x_axis_and_spans_about_six_units)
{
    REQUIRE_GL();
    for (const std::string& pack : art::butterfly_packs()) {
        Box b = bounds(corners(load(pack, Pack_names::wing)));
        EXPECT_NEAR(0.0, b.y0, 0.5) << pack << ": wing does not start at the hinge";
        EXPECT_NEAR(0.0, b.z0, 1e-9) << pack;
        EXPECT_NEAR(0.0, b.z1, 1e-9) << pack;
        EXPECT_GT(2 * b.y1 * 0.2, 5.0) << pack;
        EXPECT_LT(2 * b.y1 * 0.2, 7.5) << pack;
    }
}

// The flock carries butterflies head first along +X with +Z up: the body is
// long in X and its antennae (its highest points) are at the front.
TEST(Art_models, every_body_lies_along_x_with_its_antennae_forward_and_up)
{
    REQUIRE_GL();
    for (const std::string& pack : art::butterfly_packs()) {
        std::vector<Corner> cs = corners(load(pack, Pack_names::body));
        ASSERT_FALSE(cs.empty()) << pack;
        Box b = bounds(cs);
        EXPECT_GT(b.x1 - b.x0, 3 * (b.y1 - b.y0)) << pack;
        const Corner* top = &cs.front();
        for (const Corner& c : cs)
            if (c.z > top->z) top = &c;
        EXPECT_GT(top->x, 0.5 * b.x1) << pack << ": antennae not at the head end";
    }
}

// Scale 2 in the scene: the tree stays under the flock (30 to 35 units up)
// and the lawn reaches out under the butterflies circling 20 to 30 units out.
TEST(Art_models, tree_stays_under_the_flock_and_the_lawn_under_its_circle)
{
    REQUIRE_GL();
    Box b = bounds(corners(load(Pack_names::main_pack, Pack_names::tree)));
    EXPECT_LT(b.z1 * 2, 30.0);
    EXPECT_GT(b.z1 * 2, 15.0);
    EXPECT_GE(std::min(-b.x0, b.x1) * 2, 25.0);
    EXPECT_GE(std::min(-b.y0, b.y1) * 2, 25.0);
}

// A texture that a mesh repeats (texture coordinates beyond 0 to 1) must
// meet itself at its edges, or the lawn rim and the bark show a seam line
// every repeat.
TEST(Art_models, textures_that_repeat_meet_themselves_without_a_seam)
{
    REQUIRE_GL();
    std::vector<std::pair<std::string, std::string>> models = {{Pack_names::main_pack, Pack_names::tree}};
    for (const std::string& pack : art::butterfly_packs()) models.push_back({pack, Pack_names::body});
    int checked = 0;
    for (const auto& pm : models) {
        Model model = load(pm.first, pm.second);
        for (const Mesh& mesh : model.meshes) {
            if (mesh.texture_name[0] != '\0' && mesh.texture_name[1] == '#') continue;  // procedural
            bool repeat_u = false, repeat_v = false;
            for (const Corner& c : corners(mesh)) {
                repeat_u = repeat_u || c.u < -0.01 || c.u > 1.01;
                repeat_v = repeat_v || c.v < -0.01 || c.v > 1.01;
            }
            if (!repeat_u && !repeat_v) continue;
            Pak_entry bytes = pak_cache.open(pm.first)->find(mesh.texture_name);
            ASSERT_FALSE(bytes.empty()) << mesh.texture_name;
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data, size_t(bytes.size)));
            image.format = PNG_FORMAT_RGB;
            std::vector<uint8_t> px(PNG_IMAGE_SIZE(image));
            ASSERT_TRUE(png_image_finish_read(&image, nullptr, px.data(), 0, nullptr));
            const int w = int(image.width), h = int(image.height);
            auto at = [&](int x, int y) { return &px[(size_t(y) * w + x) * 3]; };
            auto step = [&](int x0, int y0, int x1, int y1) {
                const uint8_t *a = at(x0, y0), *b = at(x1, y1);
                return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
            };
            // The jump across the wrap against the usual jump between neighbours.
            if (repeat_u) {
                double seam = 0, inside = 0;
                for (int y = 0; y < h; ++y) seam += step(w - 1, y, 0, y), inside += step(w / 2 - 1, y, w / 2, y);
                EXPECT_LT(seam, 2.0 * inside + 4.0 * h) << pm.first << ": " << mesh.texture_name << " seams across";
            }
            if (repeat_v) {
                double seam = 0, inside = 0;
                for (int x = 0; x < w; ++x) seam += step(x, h - 1, x, 0), inside += step(x, h / 2 - 1, x, h / 2);
                EXPECT_LT(seam, 2.0 * inside + 4.0 * w) << pm.first << ": " << mesh.texture_name << " seams down";
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}
