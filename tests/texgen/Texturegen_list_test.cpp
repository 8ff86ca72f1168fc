// The procedural texture registry: the name grammar, sharing by full name,
// refusals that record nothing, and update_all driven by the tick counter.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"
#include "texgen/Plasma.h"
#include "texgen/Procedural_name.h"
#include "texgen/Texturegen_list.h"

TEST(Procedural_name, kind_runs_to_the_first_digit_and_sizes_follow)
{
    Procedural_name n;
    ASSERT_TRUE(n.parse("##Plasma64x32 ,250,10,20"));
    EXPECT_EQ(n.kind, "Plasma");
    EXPECT_EQ(n.width, 64);
    EXPECT_EQ(n.height, 32);
    EXPECT_EQ(n.parameters, ",250,10,20");
}

TEST(Procedural_name, any_separator_and_white_space_before_height_and_word)
{
    Procedural_name n;
    ASSERT_TRUE(n.parse("ab Pla sma8*  16\t,1,2,3 trailing"));
    EXPECT_EQ(n.kind, " Pla sma");
    EXPECT_EQ(n.width, 8);
    EXPECT_EQ(n.height, 16);
    EXPECT_EQ(n.parameters, ",1,2,3");
}

TEST(Procedural_name, refused_names)
{
    const char* bad[] = {
        "",   "#",  "##Plasma",           "##Plasma64",     "##Plasma64x",       "##Plasma64xx",
        "##Plasma0x64 ,1,2,3",             "##Plasma64x0 ,1,2,3",                "##Plasma64x-8 ,1,2,3",
        "##Plasma4097x64 ,1,2,3",          "##Plasma99999x99999 ,1,2,3",         "##Plasma64x4097",
        "##Plasma99999999999999999999999x4 ,1,2,3",
    };
    for (const char* name : bad) {
        Procedural_name n;
        EXPECT_FALSE(n.parse(name)) << name;
    }
    Procedural_name n;
    EXPECT_FALSE(n.parse(nullptr));
    EXPECT_TRUE(n.parse("##Plasma4096x4096"));  // the largest, no parameters
    EXPECT_EQ(n.parameters, "");
}

TEST(Texturegen_registry, one_name_is_one_generator_and_one_texture)
{
    REQUIRE_GL();
    size_t before = texturegen_list.size();
    uint32_t a = texturegen_list.lookup("##Plasma32x32 ,1,1,1");
    uint32_t b = texturegen_list.lookup("##Plasma32x32 ,1,1,1");
    EXPECT_NE(a, 0u);
    EXPECT_EQ(a, b);
    EXPECT_EQ(texturegen_list.size(), before + 1);
}

TEST(Texturegen_registry, names_differing_only_in_the_flags_are_two_entries)
{
    REQUIRE_GL();
    size_t before = texturegen_list.size();
    uint32_t a = texturegen_list.lookup("##Plasma16x16 ,9,9,9");
    uint32_t b = texturegen_list.lookup("x#Plasma16x16 ,9,9,9");
    EXPECT_NE(a, b);
    EXPECT_EQ(texturegen_list.size(), before + 2);
}

TEST(Texturegen_registry, unknown_kind_or_bad_size_returns_zero_and_records_nothing)
{
    REQUIRE_GL();
    size_t before = texturegen_list.size();
    const char* refused[] = {"##Marble64x64 ,1,2,3", "##Plasma", "##Plasma99999x99999 ,1,2,3",
                             "##Plasma0x16 ,1,2,3", "##plasma16x16 ,1,2,3", nullptr};
    for (const char* name : refused) EXPECT_EQ(texturegen_list.lookup(name), 0u) << (name ? name : "null");
    EXPECT_EQ(texturegen_list.size(), before);
}

TEST(Texturegen_registry, size_above_the_gl_limit_is_refused)
{
    REQUIRE_GL();
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    if (max >= 4096) GTEST_SKIP() << "GL takes every size up to 4096";
    std::string name = "##Plasma" + std::to_string(max + 1) + "x4 ,1,2,3";
    EXPECT_EQ(texturegen_list.lookup(name.c_str()), 0u);
}

TEST(Texturegen_registry, lookup_gives_a_name_and_update_all_uploads_the_image_for_the_tick)
{
    REQUIRE_GL();
    uint32_t tex = texturegen_list.lookup("##Plasma64x64 ,250,10,20");
    ASSERT_NE(tex, 0u);
    size_t index = texturegen_list.size() - 1;
    Texturegen* g = texturegen_list.generator(index);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->texture(), tex);
    Test_clock::set(1000);
    texturegen_list.update_all();
    Test_clock::use_real();
    std::vector<uint8_t> px(64 * 64 * 4);
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    size_t at = 4 * (8 * 64 + 8);
    EXPECT_EQ(px[at], 26);
    EXPECT_EQ(px[at + 1], 42);
    EXPECT_EQ(px[at + 2], 52);
    EXPECT_EQ(px[at + 3], 0);
}
