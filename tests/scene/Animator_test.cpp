#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "actions/Action_rev.h"
#include "actions/Action_rot.h"
#include "actions/Action_sin.h"
#include "scene/Animator.h"
#include "tests/support/Probe.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"

namespace {

const double half_pi = 1.5707963267948966;

class Animator_clock : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Gl_context::open()) GTEST_SKIP() << "no X display for GL";
        Gl_context::reset_state();
        Test_clock::set(5000);
    }
    void TearDown() override
    {
        glLoadIdentity();
        Test_clock::use_real();
    }

    // One frame as a Node draws it: the offset lands on the matrix, so it
    // is undone right after.
    void frame(Animator& a, uint32_t ms)
    {
        Test_clock::advance(ms);
        glPushMatrix();
        a.advance();
        glPopMatrix();
    }
};

}  // namespace

TEST_F(Animator_clock, first_frame_measures_from_construction)
{
    Animator a;
    Probe p;
    a.bind(&p);
    frame(a, 750);
    EXPECT_EQ(750, p.elapsed);
}

TEST_F(Animator_clock, tick_counter_wrap_still_gives_the_true_difference)
{
    Test_clock::set(0xFFFFFFF0u);
    Animator a;
    Probe p;
    a.bind(&p);
    frame(a, 0x20);  // the counter wraps to 0x10
    EXPECT_EQ(0x10u, a.now_ticks);
    EXPECT_EQ(32, p.elapsed);
}


TEST_F(Animator_clock, two_actions_on_one_axis_add_up)
{
    Animator a;
    Action_rot slow(1, true, 0.0), fast(1, true, 0.0);
    slow.set(2, 10.0, 1.0);
    fast.set(2, 20.0, 2.0);
    a.bind(&slow);
    a.bind(&fast);
    frame(a, 1000);
    EXPECT_DOUBLE_EQ(33.0, a.offset.rot_z);
}

TEST_F(Animator_clock, offset_is_rebuilt_each_frame_not_accumulated)
{
    Animator a;
    Action_rot turn(1, true, 0.0);
    turn.set(1, 10.0, 0.0);
    a.bind(&turn);
    frame(a, 1000);
    frame(a, 1000);
    EXPECT_DOUBLE_EQ(20.0, a.offset.rot_y);
}

TEST_F(Animator_clock, offset_is_applied_as_translation_and_rotation_only)
{
    Animator a;
    Action_sin along_x(1, true, 0.0);
    along_x.set(0, 1.0, 3.0, half_pi);
    a.bind(&along_x);
    a.offset.set_scale(7, 7, 7);  // a scale in the offset is never applied
    Test_clock::advance(0);
    glLoadIdentity();
    a.advance();
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(3.0, m[12], 1e-6);
    EXPECT_DOUBLE_EQ(1.0, m[0]);
}

TEST_F(Animator_clock, rev_overwrites_position_of_earlier_actions_and_later_ones_add_to_it)
{
    Animator a;
    Action_sin before(1, true, 0.0), after(1, true, 0.0);
    before.set(0, 1.0, 5.0, half_pi);
    after.set(0, 1.0, 2.0, half_pi);
    Action_rev rev(1, true, 0.0);
    rev.set(60000, 3, 3);  // t = 0 lies outside the window: x = 9000
    a.bind(&before);
    a.bind(&rev);
    a.bind(&after);
    frame(a, 0);
    EXPECT_NEAR(9002.0, a.offset.x, 1e-9);
}

TEST_F(Animator_clock, paused_group_keeps_contributing_its_frozen_value)
{
    Animator a;
    Action_rot one(1, true, 0.0), two(2, true, 0.0);
    one.set(2, 10.0, 0.0);
    two.set(0, 10.0, 0.0);
    a.bind(&one);
    a.bind(&two);
    frame(a, 1000);
    a.pause_group(1);
    frame(a, 1000);
    EXPECT_DOUBLE_EQ(1000, one.elapsed);
    EXPECT_DOUBLE_EQ(10.0, a.offset.rot_z);
    EXPECT_DOUBLE_EQ(20.0, a.offset.rot_x);  // other groups untouched
    a.start_group(1);
    frame(a, 1000);
    EXPECT_DOUBLE_EQ(20.0, a.offset.rot_z);
}

TEST_F(Animator_clock, stopped_group_is_dropped_without_another_step)
{
    Animator a;
    Action_rot one(1, true, 0.0);
    one.set(2, 10.0, 5.0);
    Probe other(2);
    a.bind(&one);
    a.bind(&other);
    frame(a, 100);
    a.stop_group(1);
    EXPECT_TRUE(one.finished);
    frame(a, 100);
    EXPECT_EQ(0.0, a.offset.rot_z);
    ASSERT_EQ(1u, a.bound().size());
    EXPECT_EQ(&other, a.bound()[0]);
    EXPECT_EQ(100, one.elapsed);
}

TEST_F(Animator_clock, duration_hundred_with_sixty_ms_frames_finishes_on_third_and_goes_on_fourth)
{
    Animator a;
    Probe p(1, true, 100.0);
    a.bind(&p);
    frame(a, 60);
    EXPECT_EQ(60, p.elapsed);
    frame(a, 60);
    EXPECT_EQ(120, p.elapsed);
    EXPECT_FALSE(p.finished);
    frame(a, 60);
    EXPECT_TRUE(p.finished);
    EXPECT_EQ(120, p.elapsed);
    EXPECT_EQ(3, p.steps);
    EXPECT_EQ(1u, a.bound().size());
    frame(a, 60);
    EXPECT_EQ(3, p.steps);
    EXPECT_TRUE(a.bound().empty());
}

TEST_F(Animator_clock, finished_action_bound_again_is_removed_without_step)
{
    Animator a;
    Probe p(1, true, 10.0);
    a.bind(&p);
    frame(a, 50);
    frame(a, 50);
    frame(a, 50);
    ASSERT_TRUE(a.bound().empty());
    int steps = p.steps;
    a.bind(&p);
    frame(a, 50);
    EXPECT_EQ(steps, p.steps);
    EXPECT_TRUE(a.bound().empty());
}

TEST_F(Animator_clock, action_bound_twice_is_stepped_twice_per_frame)
{
    Animator a;
    Action_rot turn(1, true, 0.0);
    turn.set(2, 0.0, 4.0);
    a.bind(&turn);
    a.bind(&turn);
    frame(a, 10);
    EXPECT_DOUBLE_EQ(8.0, a.offset.rot_z);
    EXPECT_EQ(20, turn.elapsed);
}

TEST_F(Animator_clock, first_draw_long_after_construction_uses_up_duration_at_once)
{
    Animator a;
    Probe p(1, true, 500.0);
    a.bind(&p);
    frame(a, 10000);
    EXPECT_EQ(10000, p.elapsed);
    EXPECT_FALSE(p.finished);
    frame(a, 16);
    EXPECT_TRUE(p.finished);
    EXPECT_EQ(10000, p.elapsed);
    frame(a, 16);
    EXPECT_TRUE(a.bound().empty());
    EXPECT_EQ(2, p.steps);
}

TEST_F(Animator_clock, turns_stay_smooth_after_days_of_running)
{
    // The flock turns 30 degrees a second, the garden 6: after days their
    // angles pass 2^23 degrees, where a float keeps whole degrees only.
    const struct {
        double rate;
        uint32_t days;
    } cases[] = {{30.0, 4}, {6.0, 15}, {30.0, 40}};
    for (const auto& c : cases) {
        Test_clock::set(5000);
        Animator a;
        Action_rot turn(1, true, 0.0);
        turn.set(1, c.rate, 0.0);
        a.bind(&turn);
        // Whole hours up to the day count, then 123 ms more: an angle whose
        // fraction of a degree a narrowed float would lose.
        for (uint32_t h = 0; h < c.days * 24; ++h) frame(a, 3600u * 1000u);
        Test_clock::advance(123);
        glLoadIdentity();
        a.advance();
        double m[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        const double elapsed_ms = double(c.days) * 86400000.0 + 123.0;
        const double radians = std::fmod(c.rate * elapsed_ms / 1000.0, 360.0) * 3.14159265358979 / 180.0;
        EXPECT_NEAR(std::cos(radians), m[0], 1e-5) << c.rate << " deg/s, " << c.days << " days";
        EXPECT_NEAR(-std::sin(radians), m[2], 1e-5) << c.rate << " deg/s, " << c.days << " days";
    }
}
