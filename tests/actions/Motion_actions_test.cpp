#include <gtest/gtest.h>

#include <cmath>

#include "actions/Action_rev.h"
#include "actions/Action_rot.h"
#include "actions/Action_rot_sin.h"
#include "actions/Action_sin.h"
#include "scene/Transform.h"

namespace {

// The value an action writes at time t, into a fresh offset.
Transform at(Action& a, double t)
{
    Transform out;
    a.target = &out;
    a.elapsed = t;
    a.step();
    a.target = nullptr;
    return out;
}

bool in_view(Action_rev& rev, double t)
{
    Transform out = at(rev, t);
    if (out.x == 0) return true;
    EXPECT_EQ(9000, out.x);
    return false;
}

}  // namespace

TEST(Action_rot, rate_seven_about_z_after_one_second_is_seven_degrees)
{
    Transform t;
    Action_rot a(&t, 1, true, 0.0);
    a.set(2, 7.0, 0.0);
    a.update(0);
    EXPECT_EQ(0, t.rot_z);
    t.reset();
    a.update(1000);
    EXPECT_DOUBLE_EQ(7.0, t.rot_z);
    EXPECT_EQ(0, t.rot_x);
    EXPECT_EQ(0, t.rot_y);
    EXPECT_EQ(0, t.x + t.y + t.z);
}

TEST(Action_rot, defaults_turn_about_y_from_one_degree)
{
    Action_rot a(1, true, 0.0);
    Transform out = at(a, 0);
    EXPECT_DOUBLE_EQ(1.0, out.rot_y);
    out = at(a, 2000);
    EXPECT_DOUBLE_EQ(3.0, out.rot_y);
}


TEST(Action_sin, time_zero_writes_amplitude_times_sin_of_phase)
{
    Action_sin a(1, true, 0.0);
    a.set(2, 5.0, 3.0, 0.5);
    EXPECT_DOUBLE_EQ(3.0 * std::sin(0.5), at(a, 0).z);
    EXPECT_DOUBLE_EQ(3.0 * std::sin(0.5 + 5.0 * 1.25), at(a, 1250).z);
    Transform out = at(a, 1250);
    EXPECT_EQ(0, out.x + out.y + out.rot_x + out.rot_y + out.rot_z);
}


TEST(Action_sin, adds_to_what_is_already_there)
{
    Transform t;
    t.set_position(0, 10, 0);
    Action_sin a(&t, 1, true, 0.0);
    a.set(1, 1.0, 2.0, 1.5707963267948966);
    a.step();
    EXPECT_DOUBLE_EQ(12.0, t.y);
}

TEST(Action_rot_sin, time_offset_five_hundred_equals_starting_half_a_second_later)
{
    Action_rot_sin with(1, true, 0.0), without(1, true, 0.0);
    with.set(0, 13.0, 50.0, 0.3, 500);
    without.set(0, 13.0, 50.0, 0.3, 0);
    for (double t : {0.0, 16.0, 1234.0}) EXPECT_DOUBLE_EQ(at(without, t + 500).rot_x, at(with, t).rot_x);
}

TEST(Action_rot_sin, set_takes_amplitude_before_phase)
{
    Action_rot_sin a(1, true, 0.0);
    a.set(2, 2.0, 6.0, 0.25, 0);
    EXPECT_EQ(6.0, a.amplitude);
    EXPECT_EQ(0.25, a.phase);
    EXPECT_DOUBLE_EQ(6.0 * std::sin(0.25), at(a, 0).rot_z);
}

TEST(Motion_actions, axis_outside_zero_to_two_writes_nothing_but_clock_runs)
{
    Transform t;
    Action_rot rot(&t, 1, true, 0.0);
    Action_sin sin(&t, 1, true, 0.0);
    Action_rot_sin swing(&t, 1, true, 0.0);
    rot.set(3, 7.0, 1.0);
    sin.set(-1, 1.0, 1.0, 1.0);
    swing.set(3, 1.0, 1.0, 1.0, 0);
    for (Action* a : {static_cast<Action*>(&rot), static_cast<Action*>(&sin), static_cast<Action*>(&swing)})
        a->update(100);
    EXPECT_EQ(0, t.x + t.y + t.z + t.rot_x + t.rot_y + t.rot_z);
    EXPECT_EQ(100, rot.elapsed);
    EXPECT_EQ(100, swing.elapsed);
}

TEST(Action_rev, third_slot_of_a_minute_is_strictly_between_40000_and_60000)
{
    Action_rev rev(1, true, 0.0);
    rev.set(60000, 3, 3);
    EXPECT_EQ(40000, rev.window_start);
    EXPECT_EQ(60000, rev.window_end);
    EXPECT_FALSE(in_view(rev, 0));
    EXPECT_FALSE(in_view(rev, 39999));
    EXPECT_FALSE(in_view(rev, 40000));
    EXPECT_TRUE(in_view(rev, 40001));
    EXPECT_TRUE(in_view(rev, 59999));
    EXPECT_FALSE(in_view(rev, 60000));
    EXPECT_FALSE(in_view(rev, 100000));
    EXPECT_TRUE(in_view(rev, 100001));
}

TEST(Action_rev, sets_position_instead_of_adding_and_leaves_rotation)
{
    Transform t;
    t.set_position(3, 4, 5);
    t.set_rotation(0, 0, 30);
    Action_rev rev(&t, 1, true, 0.0);
    rev.set(60000, 3, 3);
    rev.elapsed = 50000;
    rev.step();
    EXPECT_EQ(0, t.x + t.y + t.z);
    EXPECT_EQ(30, t.rot_z);
}

TEST(Action_rev, zero_or_negative_slots_or_period_keep_node_out_of_view)
{
    Action_rev rev(1, true, 0.0);
    for (int t : {0, 1, 30000, 59999}) {
        rev.set(60000, 0, 1);
        EXPECT_FALSE(in_view(rev, t));
        rev.set(60000, -3, -1);
        EXPECT_FALSE(in_view(rev, t));
        rev.set(0, 3, 3);
        EXPECT_FALSE(in_view(rev, t));
        rev.set(-60000, 3, 3);
        EXPECT_FALSE(in_view(rev, t));
    }
}

TEST(Action_rev, far_off_slot_index_does_not_overflow)
{
    Action_rev rev(1, true, 0.0);
    rev.set(2000000000, 1, 2000000000);
    EXPECT_EQ(INT32_MAX, rev.window_start);
    rev.set(60000, 3, -2000000000);
    EXPECT_EQ(INT32_MIN, rev.window_start);
    EXPECT_FALSE(in_view(rev, 100));
}

TEST(Action_rev, time_beyond_thirty_two_bits_is_reduced_by_the_period)
{
    Action_rev rev(1, true, 0.0);
    rev.set(60000, 3, 3);
    // 4294920000 is a whole number of minutes past the 32-bit range.
    EXPECT_TRUE(in_view(rev, 4294920000.0 + 50000));
    EXPECT_FALSE(in_view(rev, 4294920000.0 + 10000));
    EXPECT_FALSE(in_view(rev, 4294920000.0 + 40000));
    const double minutes = 60000.0 * 1073741824.0;  // far beyond, still exact
    EXPECT_TRUE(in_view(rev, minutes + 45000));
    EXPECT_FALSE(in_view(rev, minutes + 45000 - 20000));
    EXPECT_FALSE(in_view(rev, 2147483648.0));  // 2^31 mod 60000 = 23648
}
