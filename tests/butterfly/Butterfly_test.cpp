#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "butterfly/Butterfly.h"
#include "resources/Pak_cache.h"
#include "tests/support/Probe.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"
#include "tests/support/Test_packs.h"

namespace {

const double wing_phase = 28.662420382165603;

// A seed whose first rand() % 2000 is 0, so the wings start at t0 = 0.
unsigned seed_for_zero_offset()
{
    for (unsigned s = 1;; ++s) {
        std::srand(s);
        if (std::rand() % 2000 == 0) return s;
    }
}

// Rotation about X of a wing as drawn: its placement plus its offset.
double wing_angle(const Node& wing)
{
    return wing.placement.rot_x + wing.animator.offset.rot_x;
}

class Butterfly_pack : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/gardenlume-butterfly-XXXXXX";
        const char* dir = mkdtemp(pattern);
        ASSERT_NE(nullptr, dir);
        folder = std::string(dir) + "/";
        ASSERT_TRUE(Test_packs::write_all(folder));
        pak_cache.set_directory(folder);
    }

    void SetUp() override
    {
        if (!Gl_context::open()) GTEST_SKIP() << "no X display for GL";
        Gl_context::reset_state();
        Test_clock::set(10000);
    }
    void TearDown() override { Test_clock::use_real(); }

    static std::string folder;
};

std::string Butterfly_pack::folder;

// True when the text lies inside that pack entry's bytes.
bool points_into(const char* text, const char* pack, const char* entry)
{
    Pak_entry e = pak_cache.model_bytes(pack, entry);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
    return !e.empty() && p >= e.data && p < e.data + e.size;
}

}  // namespace

TEST_F(Butterfly_pack, body_holds_wing_b_before_wing_a_and_root_holds_only_the_body)
{
    Butterfly b("butterfly1.pak", -1.0, 0.2, true);
    ASSERT_EQ(1u, b.child_nodes().size());
    EXPECT_EQ(&b.body, b.child_nodes()[0]);
    ASSERT_EQ(2u, b.body.child_nodes().size());
    EXPECT_EQ(&b.wing_b, b.body.child_nodes()[0]);
    EXPECT_EQ(&b.wing_a, b.body.child_nodes()[1]);
    EXPECT_TRUE(b.wing_a.child_nodes().empty());
    EXPECT_TRUE(b.wing_b.child_nodes().empty());
}

TEST_F(Butterfly_pack, models_and_scale_go_on_body_and_wings_not_on_the_root)
{
    Butterfly b("butterfly2.pak", -1.0, 0.2, false);
    EXPECT_FALSE(b.has_model);
    EXPECT_FALSE(b.placement.is_scaled());
    EXPECT_EQ(0, b.events.event_count());
    for (Node* n : {&b.body, &b.wing_a, &b.wing_b}) {
        EXPECT_TRUE(n->has_model);
        EXPECT_EQ(1, n->mesh_count);
        EXPECT_TRUE(n->placement.is_scaled());
        EXPECT_EQ(0.2, n->placement.scale_x);
        EXPECT_EQ(0.2, n->placement.scale_z);
    }
    EXPECT_TRUE(points_into(b.body.meshes[0].texture_name, "butterfly2.pak", "brushko"));
    EXPECT_TRUE(points_into(b.wing_a.meshes[0].texture_name, "butterfly2.pak", "krilo"));
    EXPECT_TRUE(points_into(b.wing_b.meshes[0].texture_name, "butterfly2.pak", "krilo"));
    EXPECT_EQ(25.0, b.wing_a.placement.rot_x);
    EXPECT_EQ(145.0, b.wing_b.placement.rot_x);
}

TEST_F(Butterfly_pack, draws_exactly_one_random_value_shared_by_both_wings)
{
    std::srand(77);
    int first = std::rand();
    int second = std::rand();
    std::srand(77);
    Butterfly b("butterfly1.pak", -1.0, 0.2, true);
    EXPECT_EQ(second, std::rand());
    EXPECT_EQ(first % 2000, b.flap_a->time_offset);
    EXPECT_EQ(first % 2000, b.flap_b->time_offset);
}

TEST_F(Butterfly_pack, wings_start_at_25_and_about_126_degrees_and_bob_at_minus_1_point_51)
{
    std::srand(seed_for_zero_offset());
    Butterfly b("butterfly3.pak", -1.0, 0.2, true);
    ASSERT_EQ(0, b.flap_a->time_offset);
    b.draw();  // the clock has not moved: every action is at e = 0
    EXPECT_DOUBLE_EQ(25.0, wing_angle(b.wing_a));
    EXPECT_NEAR(126.08, wing_angle(b.wing_b), 0.01);
    EXPECT_DOUBLE_EQ(145.0 + 50.0 * std::sin(wing_phase), wing_angle(b.wing_b));
    EXPECT_NEAR(-1.51, b.body.animator.offset.z, 0.01);
    EXPECT_DOUBLE_EQ(4.0 * std::sin(wing_phase), b.body.animator.offset.z);
}

TEST_F(Butterfly_pack, wing_matrix_carries_the_flap_angle_to_what_hangs_below)
{
    std::srand(seed_for_zero_offset());
    Butterfly b("butterfly3.pak", -1.0, 0.2, false);
    Node below_a, below_b;
    Probe probe_a, probe_b;
    for (auto [node, probe] : {std::pair{&below_a, &probe_a}, std::pair{&below_b, &probe_b}}) {
        node->events.add_event();
        node->events.add_action(probe);
        node->events.fire_event(0);
    }
    b.wing_a.add_child(&below_a);
    b.wing_b.add_child(&below_b);
    glLoadIdentity();
    b.draw();

    std::array<double, 16> want{};
    glRotated(25.0, 1, 0, 0);  // no scale: the wing's size stays with its meshes
    glGetDoublev(GL_MODELVIEW_MATRIX, want.data());
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(want[i], probe_a.matrix[i], 1e-5);
    glLoadIdentity();
    glRotated(145.0 + 50.0 * std::sin(wing_phase), 1, 0, 0);
    glGetDoublev(GL_MODELVIEW_MATRIX, want.data());
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(want[i], probe_b.matrix[i], 1e-4);
    glLoadIdentity();
}

TEST_F(Butterfly_pack, wings_flap_with_omega_fourteen_plus_offset)
{
    std::srand(seed_for_zero_offset());
    Butterfly b("butterfly1.pak", -1.0, 0.2, true);
    b.draw();
    Test_clock::advance(100);
    b.draw();
    EXPECT_DOUBLE_EQ(25.0 + 50.0 * std::sin(13.0 * 0.1), wing_angle(b.wing_a));
    EXPECT_DOUBLE_EQ(4.0 * std::sin(13.0 * 0.1 + wing_phase), b.body.animator.offset.z);
}

TEST_F(Butterfly_pack, without_bobbing_body_has_no_action_and_stays_put)
{
    Butterfly b("butterfly4.pak", -5.0, 0.2, false);
    EXPECT_EQ(nullptr, b.bob);
    EXPECT_EQ(0, b.body.events.event_count());
    EXPECT_TRUE(b.body.animator.bound().empty());
    Test_clock::advance(300);
    b.draw();
    EXPECT_EQ(0, b.body.animator.offset.z);
}

TEST_F(Butterfly_pack, flap_offset_minus_fourteen_holds_everything_still)
{
    Butterfly b("butterfly5.pak", -14.0, 0.2, true);
    Test_clock::advance(5000);
    b.draw();
    EXPECT_DOUBLE_EQ(25.0, wing_angle(b.wing_a));
    EXPECT_NEAR(126.08, wing_angle(b.wing_b), 0.01);
    EXPECT_NEAR(-1.51, b.body.animator.offset.z, 0.01);
}

TEST_F(Butterfly_pack, two_butterflies_of_one_pack_share_it_but_nothing_else)
{
    Butterfly first("butterfly5.pak", -1.0, 0.2, true);
    size_t open = pak_cache.open_count();
    Butterfly second("butterfly5.pak", -1.0, 0.2, true);
    EXPECT_EQ(open, pak_cache.open_count());
    EXPECT_EQ(first.wing_a.meshes[0].texture_name, second.wing_a.meshes[0].texture_name);
    EXPECT_EQ(first.body.meshes[0].texture, second.body.meshes[0].texture);
    EXPECT_NE(first.flap_a.get(), second.flap_a.get());
    EXPECT_EQ(&first.wing_a.animator.offset, first.flap_a->target);
    EXPECT_EQ(&second.wing_a.animator.offset, second.flap_a->target);
    EXPECT_EQ(&second.body.animator.offset, second.bob->target);
}

TEST(Random_below, values_stay_below_n_and_an_empty_range_gives_0_without_dividing)
{
    std::srand(3);
    for (int i = 0; i < 1000; ++i) {
        int v = random_below(5);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 5);
    }
    EXPECT_EQ(0, random_below(0));
    EXPECT_EQ(0, random_below(-7));
}
