#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "resources/Pak_cache.h"
#include "scene/Node.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"
#include "tests/support/Test_packs.h"
#include "tests/support/Test_files.h"

namespace {

// A model of two quads, "red.png" then "green.png".
std::vector<uint8_t> two_mesh_model()
{
    std::vector<uint8_t> a = Test_packs::quad_model("red.png", 1, 1);
    std::vector<uint8_t> b = Test_packs::quad_model("green.png", 1, 1);
    // Both have a 1-byte marker and a 4-byte count: join the records.
    std::vector<uint8_t> out(a.begin(), a.begin() + 5);
    out[1] = 2;
    out.insert(out.end(), a.begin() + 5, a.end());
    out.insert(out.end(), b.begin() + 5, b.end());
    return out;
}

class Node_model : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string folder = Test_files::make_folder("gardenlume-node-");
        ASSERT_FALSE(folder.empty());
        std::vector<uint8_t> two = two_mesh_model();
        std::vector<uint8_t> cut(two.begin(), two.end() - 10);
        std::vector<uint8_t> empty_model = {0, 0, 0, 0, 0};
        ASSERT_TRUE(Test_packs::write_pack(folder + "models.pak",
                                           {{"two", two},
                                            {"cut", cut},
                                            {"none", empty_model},
                                            {"red", Test_packs::quad_model("red.png", 1, 1)},
                                            {"green", Test_packs::quad_model("green.png", 1, 1)},
                                            {"red.png", Test_packs::png(4, 4, 255, 0, 0)},
                                            {"green.png", Test_packs::png(4, 4, 0, 255, 0)}}));
        pak_cache.set_directory(folder);
    }

    void SetUp() override
    {
        if (!Gl_context::open()) GTEST_SKIP() << "no X display for GL";
        Gl_context::reset_state();
        Test_clock::set(0);
    }
    void TearDown() override { Test_clock::use_real(); }
};

// The colour at pixel column x of the middle row of the 64 x 64 window.
std::string colour_at(const std::vector<uint8_t>& px, int x)
{
    const uint8_t* p = &px[(32 * 64 + x) * 4];
    if (p[0] > 200 && p[1] < 50) return "red";
    if (p[1] > 200 && p[0] < 50) return "green";
    if (p[0] < 20 && p[1] < 20 && p[2] < 20) return "black";
    return "other";
}

}  // namespace

TEST_F(Node_model, entry_the_pack_lacks_leaves_node_without_model)
{
    Node n;
    n.load_model("models.pak", "no such model");
    EXPECT_FALSE(n.has_model);
    EXPECT_EQ(0, n.mesh_count);
    EXPECT_TRUE(n.meshes.empty());
}

TEST_F(Node_model, zero_mesh_model_still_counts_as_model)
{
    Node n;
    n.load_model("models.pak", "none");
    EXPECT_TRUE(n.has_model);
    EXPECT_EQ(0, n.mesh_count);
}

TEST_F(Node_model, meshes_load_in_record_order)
{
    Node n;
    n.load_model("models.pak", "two");
    ASSERT_EQ(2, n.mesh_count);
    EXPECT_STREQ("red.png", n.meshes[0].texture_name);
    EXPECT_STREQ("green.png", n.meshes[1].texture_name);
    EXPECT_NE(0u, n.meshes[0].texture);
}

TEST_F(Node_model, record_that_runs_past_the_entry_ends_reading_and_keeps_complete_meshes)
{
    Node n;
    n.load_model("models.pak", "cut");
    EXPECT_TRUE(n.has_model);
    ASSERT_EQ(1, n.mesh_count);
    EXPECT_EQ(1u, n.meshes.size());
    EXPECT_STREQ("red.png", n.meshes[0].texture_name);
}

TEST_F(Node_model, second_model_is_appended_after_the_first)
{
    Node n;
    n.load_model("models.pak", "green");
    n.load_model("models.pak", "no such model");
    n.load_model("models.pak", "two");
    ASSERT_EQ(3, n.mesh_count);
    EXPECT_STREQ("green.png", n.meshes[0].texture_name);
    EXPECT_STREQ("red.png", n.meshes[1].texture_name);
}

TEST_F(Node_model, scale_enlarges_own_meshes_but_not_the_children)
{
    Node parent, child;
    parent.load_model("models.pak", "red");
    parent.placement.set_position(0, 0, -10);
    parent.placement.set_scale(3, 3, 3);
    child.load_model("models.pak", "green");
    child.placement.set_position(0, 0, 0.5);  // in front of the parent
    parent.add_child(&child);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    parent.draw();
    std::vector<uint8_t> px = Gl_context::read_pixels(64, 64);
    EXPECT_EQ("green", colour_at(px, 36));  // the child's quad reaches 1 unit
    EXPECT_EQ("red", colour_at(px, 44));    // ~1.5 units: only the parent, 3 wide
    EXPECT_EQ("red", colour_at(px, 52));
    EXPECT_EQ("black", colour_at(px, 62));  // beyond 3 units
}

TEST_F(Node_model, model_at_origin_of_unplaced_node_draws_after_its_placement)
{
    Node camera, n;
    camera.placement.set_position(2, 0, -10);  // carried 2 units right
    n.load_model("models.pak", "red");
    camera.add_child(&n);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    camera.draw();
    std::vector<uint8_t> px = Gl_context::read_pixels(64, 64);
    EXPECT_EQ("black", colour_at(px, 30));
    EXPECT_EQ("red", colour_at(px, 48));
}
