#include <gtest/gtest.h>

#include "actions/Action_rot.h"
#include "scene/Transform.h"

namespace {

// Reads the value the action writes for its current time, from zero.
double written_rot_z(Action& a, Transform& t)
{
    t.reset();
    a.step();
    return t.rot_z;
}

}  // namespace

TEST(Action, duration_zero_is_endless_and_never_finishes)
{
    Transform t;
    Action_rot a(&t, 1, true, 0.0);
    EXPECT_TRUE(a.endless);
    for (int i = 0; i < 100; ++i) a.update(1000000);
    EXPECT_FALSE(a.finished);
    EXPECT_EQ(1e8, a.elapsed);
}

TEST(Action, tiny_duration_still_finishes)
{
    Transform t;
    Action_rot a(&t, 1, true, 1e-9);
    EXPECT_FALSE(a.endless);
    a.update(1);
    EXPECT_FALSE(a.finished);
    a.update(1);
    EXPECT_TRUE(a.finished);
}

TEST(Action, negative_duration_finishes_at_first_update_without_advancing)
{
    Transform t;
    Action_rot a(&t, 1, true, -5.0);
    a.update(16);
    EXPECT_TRUE(a.finished);
    EXPECT_EQ(0, a.elapsed);
}

TEST(Action, finishing_update_keeps_elapsed_and_still_steps)
{
    Transform t;
    Action_rot a(&t, 1, true, 100.0);
    a.set(2, 1000.0, 0.0);  // one degree per ms
    a.update(60);
    a.update(60);
    t.reset();
    a.update(60);
    EXPECT_TRUE(a.finished);
    EXPECT_EQ(120, a.elapsed);
    EXPECT_DOUBLE_EQ(120.0, t.rot_z);
}

TEST(Action, frames_landing_exactly_on_the_duration_finish_without_overshooting)
{
    Transform t;
    Action_rot a(&t, 1, true, 100.0);
    a.set(2, 1000.0, 0.0);
    a.update(50);
    a.update(50);  // elapsed is the duration itself now
    EXPECT_FALSE(a.finished);
    t.reset();
    a.update(50);
    EXPECT_TRUE(a.finished);
    EXPECT_EQ(100, a.elapsed);
    EXPECT_DOUBLE_EQ(100.0, t.rot_z);
}

TEST(Action, not_running_stays_at_time_zero_but_writes_every_update)
{
    Transform t;
    Action_rot a(&t, 1, false, 0.0);
    a.set(2, 10.0, 3.0);
    for (int i = 0; i < 3; ++i) a.update(500);
    EXPECT_EQ(0, a.elapsed);
    EXPECT_DOUBLE_EQ(9.0, t.rot_z);  // three steps of the time-zero value
    a.running = true;
    a.update(500);
    EXPECT_EQ(500, a.elapsed);
}

TEST(Action, finished_action_stepped_directly_writes_its_final_value)
{
    Transform t;
    Action_rot a(&t, 1, true, 50.0);
    a.set(2, 1000.0, 0.0);
    a.update(80);
    a.update(80);
    ASSERT_TRUE(a.finished);
    EXPECT_DOUBLE_EQ(80.0, written_rot_z(a, t));
}


