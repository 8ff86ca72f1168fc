// Model entries and meshes: the header, bounded record reading, the flags in
// texture names, texture resolution and the GL state a drawn mesh leaves.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "resources/Mesh.h"
#include "resources/Model_header.h"
#include "resources/Model_writer.h"
#include "resources/Pak.h"
#include "resources/Pak_cache.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"
#include "tests/support/Test_models.h"
#include "tests/support/Test_packs.h"
#include "texgen/Texturegen_list.h"
#include "base/Byte_writer.h"

namespace fs = std::filesystem;

namespace {
const double tri_pos[9] = {-1, -1, 0, 1, -1, 0, 0, 1, 0};
const double tri_uv[6] = {0, 1, 1, 1, 0.5, 0};

std::vector<uint8_t> one_mesh(const std::string& name, int triangles = 1, bool long_header = false)
{
    Model_writer w;
    w.begin_mesh(name);
    for (int i = 0; i < triangles; ++i) w.add_triangle(tri_pos, tri_uv);
    return w.bytes(long_header);
}

// Reads a model as Node::load_model does.
std::vector<Mesh> load(const std::vector<uint8_t>& entry, const char* pack = "")
{
    return Test_models::read(entry, pack).meshes;
}

void put_i32(std::vector<uint8_t>& out, size_t at, int32_t v)
{
    Byte_writer::u32_at(out, at, uint32_t(v));
}

// The packs the meshes take their textures from, through the global cache.
class Mesh_pack : public testing::Test {
protected:
    void SetUp() override
    {
        Test_clock::use_real();
        char tmpl[] = "/tmp/gardenlume_mesh_XXXXXX";
        dir = std::string(mkdtemp(tmpl)) + "/";
        ASSERT_TRUE(Test_packs::write_pack(dir + "m.pak", {{"red.png", Test_packs::png(4, 4, 255, 0, 0)},
                                                           {"#$glow.png", Test_packs::png(4, 4, 0, 0, 255)},
                                                           {"##Plasma16x16 ,1,2,3", Test_packs::png(4, 4, 1, 1, 1)}}));
        pack = dir + "m.pak";  // the global cache's directory is "0": names are paths
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string dir;
    std::string pack;
};
}  // namespace

TEST(Model_header, marker_0xff_skips_four_bytes_whatever_they_hold)
{
    std::vector<uint8_t> e = {0xFF, 9, 9, 9, 9, 0, 0, 0, 0};
    Byte_cursor c(e.data(), e.size());
    EXPECT_EQ(Model_header::read(c), 0);
    EXPECT_EQ(c.offset(), 9u);
}

TEST(Model_header, other_markers_are_followed_directly_by_the_count)
{
    for (uint8_t marker : {0x00, 0x01, 0xFE}) {
        std::vector<uint8_t> e = one_mesh("a");
        e[0] = marker;
        Byte_cursor c(e.data(), e.size());
        EXPECT_EQ(Model_header::read(c), 1) << int(marker);
        EXPECT_EQ(c.offset(), 5u);
    }
}

TEST(Model_header, zero_or_negative_count_gives_no_meshes)
{
    std::vector<uint8_t> e = {0, 0, 0, 0, 0};
    Byte_cursor c(e.data(), e.size());
    EXPECT_EQ(Model_header::read(c), 0);
    e = {0, 0xFF, 0xFF, 0xFF, 0xFF};
    Byte_cursor d(e.data(), e.size());
    EXPECT_EQ(Model_header::read(d), 0);
}

TEST(Model_header, huge_count_is_capped_by_the_bytes_left)
{
    std::vector<uint8_t> e = one_mesh("a", 0);
    put_i32(e, 1, INT32_MAX);
    Byte_cursor c(e.data(), e.size());
    EXPECT_LE(Model_header::read(c), 1);
}

TEST(Model_header, truncated_header_gives_no_meshes)
{
    for (std::vector<uint8_t> e : std::vector<std::vector<uint8_t>>{{}, {0}, {0, 1, 0, 0}, {0xFF, 0, 0, 0, 0, 1}}) {
        Byte_cursor c(e.data(), e.size());
        EXPECT_EQ(Model_header::read(c), 0);
    }
}

TEST_F(Mesh_pack, model_of_140_bytes_reads_one_mesh_and_ends_at_its_last_byte)
{
    REQUIRE_GL();
    std::vector<uint8_t> e = one_mesh("#abcd");  // name field 6 bytes
    ASSERT_EQ(e.size(), 140u);
    Byte_cursor c(e.data(), e.size());
    ASSERT_EQ(Model_header::read(c), 1);
    Mesh m;
    ASSERT_TRUE(m.parse(c, pack.c_str()));
    EXPECT_TRUE(c.at_end());
    EXPECT_EQ(m.triangle_count, 1);
    EXPECT_STREQ(m.texture_name, "#abcd");
    EXPECT_EQ(m.positions, e.data() + 5 + 4 + 6 + 4 + 1);
    EXPECT_EQ(m.texcoords, m.positions + 72);
    EXPECT_EQ(Byte_cursor::f64_at(m.positions, 0), -1.0);
    EXPECT_EQ(Byte_cursor::f64_at(m.texcoords, 32), 0.5);
}

TEST_F(Mesh_pack, model_of_144_bytes_with_long_header_reads_the_same)
{
    REQUIRE_GL();
    std::vector<uint8_t> e = one_mesh("#abcd", 1, true);
    ASSERT_EQ(e.size(), 144u);
    std::vector<Mesh> meshes = load(e, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].positions, e.data() + 9 + 4 + 6 + 4 + 1);
}

TEST_F(Mesh_pack, back_to_back_records_start_right_after_the_previous_one)
{
    REQUIRE_GL();
    Model_writer w;
    w.begin_mesh("#a");
    w.add_triangle(tri_pos, tri_uv);
    w.add_triangle(tri_pos, tri_uv);
    w.begin_mesh("#bb");
    w.add_triangle(tri_pos, tri_uv);
    std::vector<uint8_t> e = w.bytes();
    std::vector<Mesh> meshes = load(e, pack.c_str());
    ASSERT_EQ(meshes.size(), 2u);
    const uint8_t* second_record = meshes[0].texcoords + 2 * 48;
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(meshes[1].texture_name), second_record + 4);
    EXPECT_STREQ(meshes[1].texture_name, "#bb");
}

TEST_F(Mesh_pack, zero_triangle_mesh_is_9_plus_l_bytes)
{
    REQUIRE_GL();
    std::vector<uint8_t> e = one_mesh("#xy", 0);
    Byte_cursor c(e.data(), e.size());
    ASSERT_EQ(Model_header::read(c), 1);
    Mesh m;
    ASSERT_TRUE(m.parse(c, pack.c_str()));
    EXPECT_EQ(c.offset(), 5u + 9u + 4u);
    EXPECT_EQ(m.triangle_count, 0);
}

TEST_F(Mesh_pack, truncated_record_ends_reading_and_keeps_complete_meshes)
{
    REQUIRE_GL();
    Model_writer w;
    w.begin_mesh("#a");
    w.add_triangle(tri_pos, tri_uv);
    w.begin_mesh("#b");
    w.add_triangle(tri_pos, tri_uv);
    std::vector<uint8_t> full = w.bytes();
    size_t second = full.size() - (9 + 3 + 120);
    for (size_t cut = second; cut < full.size(); ++cut) {
        std::vector<uint8_t> e(full.begin(), full.begin() + long(cut));
        std::vector<Mesh> meshes = load(e, pack.c_str());
        ASSERT_EQ(meshes.size(), 1u) << "cut at " << cut;
        EXPECT_STREQ(meshes[0].texture_name, "#a");
    }
}

TEST_F(Mesh_pack, record_that_does_not_fit_leaves_mesh_and_cursor_untouched)
{
    REQUIRE_GL();
    std::vector<uint8_t> e = one_mesh("red.png");
    e.pop_back();
    Byte_cursor c(e.data(), e.size());
    ASSERT_EQ(Model_header::read(c), 1);
    Mesh m;
    EXPECT_FALSE(m.parse(c, pack.c_str()));
    EXPECT_EQ(c.offset(), 5u);
    EXPECT_EQ(m.triangle_count, 0);
    EXPECT_EQ(m.texture_name, nullptr);
    EXPECT_EQ(m.texture, 0u);
    // The texture was not resolved: the pack still has it unmade.
    EXPECT_EQ(pak_cache.open(pack)->texture_slot(0), 0u);
}

TEST_F(Mesh_pack, negative_and_huge_sizes_are_refused)
{
    REQUIRE_GL();
    std::vector<uint8_t> base = one_mesh("#abcd");
    size_t name_size_at = 5, triangles_at = 5 + 4 + 6;
    for (int32_t v : {-1, 0, INT32_MIN, INT32_MAX, 200}) {
        std::vector<uint8_t> e = base;
        put_i32(e, name_size_at, v);
        EXPECT_TRUE(load(e, pack.c_str()).empty()) << "name size " << v;
    }
    for (int32_t v : {-1, INT32_MIN, INT32_MAX, 2, 35791395 /* 120 * T wraps 32 bits */}) {
        std::vector<uint8_t> e = base;
        put_i32(e, triangles_at, v);
        EXPECT_TRUE(load(e, pack.c_str()).empty()) << "triangle count " << v;
    }
}

TEST_F(Mesh_pack, name_field_without_nul_is_refused)
{
    REQUIRE_GL();
    std::vector<uint8_t> e = one_mesh("#abcd");
    e[5 + 4 + 5] = 'e';  // the NUL at the end of the field
    EXPECT_TRUE(load(e, pack.c_str()).empty());
}

TEST_F(Mesh_pack, name_cut_at_first_nul_inside_the_field)
{
    REQUIRE_GL();
    std::vector<uint8_t> e = one_mesh("red.png");
    std::vector<uint8_t> f = one_mesh(std::string("red.png\0junk", 12));
    std::vector<Mesh> meshes = load(f, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_STREQ(meshes[0].texture_name, "red.png");
    EXPECT_NE(meshes[0].texture, 0u);
}

TEST_F(Mesh_pack, flags_of_the_texture_name)
{
    REQUIRE_GL();
    struct Case {
        const char* name;
        bool alpha_test;
        bool blended;
    } cases[] = {
        {"red.png", true, false}, {"#$glow.png", false, true}, {"x$y", true, true},
        {"#plain", false, false}, {"#", false, false},          {"", true, false},
        {"$", true, false},
    };
    for (const Case& k : cases) {
        std::vector<uint8_t> entry = one_mesh(k.name);
        std::vector<Mesh> meshes = load(entry, pack.c_str());
        ASSERT_EQ(meshes.size(), 1u) << k.name;
        EXPECT_EQ(meshes[0].alpha_test, k.alpha_test) << k.name;
        EXPECT_EQ(meshes[0].blended, k.blended) << k.name;
    }
}

TEST_F(Mesh_pack, two_meshes_naming_one_pack_texture_share_it)
{
    REQUIRE_GL();
    Model_writer w;
    w.begin_mesh("red.png");
    w.begin_mesh("red.png");
    std::vector<uint8_t> entry = w.bytes();
    std::vector<Mesh> meshes = load(entry, pack.c_str());
    ASSERT_EQ(meshes.size(), 2u);
    EXPECT_NE(meshes[0].texture, 0u);
    EXPECT_EQ(meshes[0].texture, meshes[1].texture);
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, meshes[0].texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 4);
}

TEST_F(Mesh_pack, procedural_name_never_looks_into_the_pack)
{
    REQUIRE_GL();
    size_t before = texturegen_list.size();
    std::vector<uint8_t> entry = one_mesh("##Plasma16x16 ,1,2,3");
    std::vector<Mesh> meshes = load(entry, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_NE(meshes[0].texture, 0u);
    EXPECT_EQ(texturegen_list.size(), before + 1);
    EXPECT_EQ(pak_cache.open(pack)->texture_slot(2), 0u);  // the pack's entry of that name stays unmade
    EXPECT_EQ(meshes[0].texture, texturegen_list.lookup("##Plasma16x16 ,1,2,3"));
}

TEST_F(Mesh_pack, missing_pack_texture_leaves_texture_zero)
{
    REQUIRE_GL();
    std::vector<uint8_t> entry = one_mesh("absent.png");
    std::vector<Mesh> meshes = load(entry, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].texture, 0u);
}

namespace {
bool enabled(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }
}  // namespace

TEST_F(Mesh_pack, plain_mesh_draws_alpha_tested_at_0_9_and_leaves_texturing_off)
{
    REQUIRE_GL();
    Gl_context::reset_state();
    std::vector<uint8_t> entry = one_mesh("red.png", 0);
    std::vector<Mesh> meshes = load(entry, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    glEnable(GL_BLEND);
    meshes[0].draw();
    EXPECT_FALSE(enabled(GL_TEXTURE_2D));
    EXPECT_FALSE(enabled(GL_ALPHA_TEST));
    EXPECT_TRUE(enabled(GL_BLEND));  // not blended: blending is left as it was
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    GLint func = 0;
    GLfloat ref = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
    glGetFloatv(GL_ALPHA_TEST_REF, &ref);
    EXPECT_EQ(func, GL_GREATER);
    EXPECT_FLOAT_EQ(ref, 0.9f);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), meshes[0].texture);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDisable(GL_BLEND);
}

TEST_F(Mesh_pack, blended_mesh_sets_one_src_alpha_and_turns_depth_test_back_on)
{
    REQUIRE_GL();
    Gl_context::reset_state();
    std::vector<uint8_t> entry = one_mesh("#$glow.png", 1);
    std::vector<Mesh> meshes = load(entry, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    glDisable(GL_DEPTH_TEST);
    meshes[0].draw();
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_SRC_ALPHA);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Mesh_pack, drawn_quad_shows_its_texture_colour)
{
    REQUIRE_GL();
    Gl_context::reset_state();
    std::vector<uint8_t> e = Test_packs::quad_model("red.png", 40, 40);
    std::vector<Mesh> meshes = load(e, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    glColor4f(1, 1, 1, 1);
    glTranslatef(0, 0, -10);
    meshes[0].draw();
    std::vector<uint8_t> px = Gl_context::read_pixels(64, 64);
    size_t centre = (32 * 64 + 32) * 4;
    EXPECT_EQ(px[centre], 255);
    EXPECT_EQ(px[centre + 1], 0);
    EXPECT_EQ(px[centre + 2], 0);
}

TEST_F(Mesh_pack, unaligned_doubles_are_read_as_stored)
{
    REQUIRE_GL();
    Gl_context::reset_state();
    // A name field of 4 bytes puts the positions at offset 18.
    Model_writer w;
    w.begin_mesh("#ab");
    const double p[9] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    w.add_triangle(p, tri_uv);
    std::vector<uint8_t> e = w.bytes();
    std::vector<Mesh> meshes = load(e, pack.c_str());
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_NE(reinterpret_cast<uintptr_t>(meshes[0].positions) % 8, 0u);
    EXPECT_EQ(Byte_cursor::f64_at(meshes[0].positions, 64), 0.9);
}
