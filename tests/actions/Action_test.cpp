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

TEST(Action, DurationZeroIsEndlessAndNeverFinishes)
{
    Transform t;
    Action_rot a(&t, 1, true, 0.0);
    EXPECT_TRUE(a.endless);
    for (int i = 0; i < 100; ++i) a.update(1000000);
    EXPECT_FALSE(a.finished);
    EXPECT_EQ(1e8, a.elapsed);
}

TEST(Action, TinyDurationStillFinishes)
{
    Transform t;
    Action_rot a(&t, 1, true, 1e-9);
    EXPECT_FALSE(a.endless);
    a.update(1);
    EXPECT_FALSE(a.finished);
    a.update(1);
    EXPECT_TRUE(a.finished);
}

TEST(Action, NegativeDurationFinishesAtFirstUpdateWithoutAdvancing)
{
    Transform t;
    Action_rot a(&t, 1, true, -5.0);
    a.update(16);
    EXPECT_TRUE(a.finished);
    EXPECT_EQ(0, a.elapsed);
}

TEST(Action, FinishingUpdateKeepsElapsedAndStillSteps)
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

TEST(Action, NotRunningStaysAtTimeZeroButWritesEveryUpdate)
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

TEST(Action, FinishedActionSteppedDirectlyWritesItsFinalValue)
{
    Transform t;
    Action_rot a(&t, 1, true, 50.0);
    a.set(2, 1000.0, 0.0);
    a.update(80);
    a.update(80);
    ASSERT_TRUE(a.finished);
    EXPECT_DOUBLE_EQ(80.0, written_rot_z(a, t));
}

TEST(Action, FirstConstructorFormHasNoTargetAndKeepsGroupId)
{
    Action_rot a(7, true, 0.0);
    EXPECT_EQ(nullptr, a.target);
    EXPECT_EQ(7, a.group_id);
    EXPECT_EQ(0, a.elapsed);
    EXPECT_FALSE(a.finished);
}

TEST(Action, LargeFrameTimeIsAddedExactly)
{
    Transform t;
    Action_rot a(&t, 1, true, 0.0);
    a.update(4294967295u);
    EXPECT_EQ(4294967295.0, a.elapsed);
}
