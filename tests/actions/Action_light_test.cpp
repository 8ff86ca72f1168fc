#include <GL/gl.h>
#include <gtest/gtest.h>

#include "actions/Action_light.h"
#include "actions/Action_rot.h"
#include "scene/Node.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"

namespace {

class Light_action : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Gl_context::open()) GTEST_SKIP() << "no X display for GL";
        Gl_context::reset_state();
        glDisable(GL_LIGHT1);
        const float away[4] = {9, 9, 9, 9};
        glLightfv(GL_LIGHT1, GL_POSITION, away);
        Test_clock::set(100);
    }
    void TearDown() override
    {
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT1);
        Test_clock::use_real();
    }

    static void expect_light1_at(float x, float y, float z, float w)
    {
        float p[4];
        glGetLightfv(GL_LIGHT1, GL_POSITION, p);  // eye coordinates
        EXPECT_NEAR(x, p[0], 1e-4);
        EXPECT_NEAR(y, p[1], 1e-4);
        EXPECT_NEAR(z, p[2], 1e-4);
        EXPECT_NEAR(w, p[3], 1e-4);
    }
};

}  // namespace

TEST_F(Light_action, on_enables_lighting_and_the_light)
{
    Action_light on(1, true, 0.0);
    on.set(true, GL_LIGHT1, 0, 20, 70, 1);
    on.step();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    expect_light1_at(0, 20, 70, 1);
}

TEST_F(Light_action, off_still_sends_its_position_before_disabling)
{
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    Action_light off(1, true, 0.0);
    off.set(false, GL_LIGHT1, 1, 2, 3, 0);
    off.step();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    expect_light1_at(1, 2, 3, 0);
}

TEST_F(Light_action, paused_light_action_keeps_switching_every_frame)
{
    Node n;
    Action_light on(1, true, 0.0);
    on.set(true, GL_LIGHT1, 0, 0, 1, 0);
    n.events.add_event();
    n.events.add_action(&on);
    n.events.add_command(1, 0);  // bound, then paused at once
    n.events.fire_event(0);
    ASSERT_FALSE(on.running);
    Test_clock::advance(16);
    n.draw();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT1);
    Test_clock::advance(16);
    n.draw();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(0, on.elapsed);
}

TEST_F(Light_action, position_is_in_carrying_nodes_frame_without_its_own_offset)
{
    Node parent, carrier;
    parent.placement.set_position(0, 0, -10);
    Action_rot spin(1, true, 0.0);
    spin.set(2, 0.0, 90.0);  // the carrier's own offset: 90 degrees about Z
    Action_light on(1, true, 0.0);
    on.set(true, GL_LIGHT1, 0, 20, 70, 1);
    carrier.placement.set_position(1, 0, 0);
    carrier.events.add_event();
    carrier.events.add_action(&spin);
    carrier.events.add_action(&on);
    carrier.events.fire_event(0);
    parent.add_child(&carrier);
    parent.draw();
    expect_light1_at(1, 20, 60, 1);
}

