#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "actions/Action_sin.h"
#include "scene/Node.h"
#include "tests/support/Probe.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"

namespace {

const double half_pi = 1.5707963267948966;

std::array<double, 16> modelview()
{
    std::array<double, 16> m{};
    glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

void expect_matrix_near(const std::array<double, 16>& want, const std::array<double, 16>& got)
{
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(want[i], got[i], 1e-5) << "element " << i;
}

void bind(Node& node, Action& a)
{
    node.events.add_event();
    node.events.add_action(&a);
    node.events.fire_event(node.events.event_count() - 1);
}

GLint stack_depth()
{
    GLint d = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &d);
    return d;
}

class Node_draw : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Gl_context::open()) GTEST_SKIP() << "no X display for GL";
        Gl_context::reset_state();
        Test_clock::set(1000);
    }
    void TearDown() override { Test_clock::use_real(); }
};

}  // namespace

TEST_F(Node_draw, child_sees_parent_placement_and_offset_but_not_parent_scale)
{
    Node parent;
    parent.placement.set_position(1, 0, 0);
    parent.placement.set_rotation(0, 0, 90);
    parent.placement.set_scale(3, 3, 3);
    Action_sin push_x(1, true, 0.0);
    push_x.set(0, 1.0, 2.0, half_pi);  // 2 units along X at t = 0
    bind(parent, push_x);
    Probe parent_probe;
    bind(parent, parent_probe);

    Node child;
    child.placement.set_position(0, 1, 0);
    Probe child_probe;
    bind(child, child_probe);
    parent.add_child(&child);

    parent.draw();

    glLoadIdentity();
    glTranslatef(1, 0, 0);
    glRotatef(90, 0, 0, 1);
    expect_matrix_near(modelview(), parent_probe.matrix);
    glTranslatef(2, 0, 0);  // the parent's animated offset, after its placement
    glTranslatef(0, 1, 0);
    expect_matrix_near(modelview(), child_probe.matrix);
    glLoadIdentity();
}

TEST_F(Node_draw, each_nesting_level_uses_one_stack_entry_and_draw_restores_it)
{
    Node parent, child, grandchild;
    parent.add_child(&child);
    child.add_child(&grandchild);
    parent.placement.set_position(0, 0, -5);
    Probe p_child, p_grandchild;
    bind(child, p_child);
    bind(grandchild, p_grandchild);

    auto before = modelview();
    GLint depth = stack_depth();
    parent.draw();
    EXPECT_EQ(depth + 2, p_child.stack_depth);
    EXPECT_EQ(depth + 3, p_grandchild.stack_depth);
    EXPECT_EQ(depth, stack_depth());
    expect_matrix_near(before, modelview());
}

TEST_F(Node_draw, node_without_model_still_advances_and_draws_children_in_insertion_order)
{
    Node parent, first, second;
    Probe p_parent, p_first, p_second;
    bind(parent, p_parent);
    bind(first, p_first);
    bind(second, p_second);
    parent.add_child(&first);
    parent.add_child(&second);
    EXPECT_FALSE(parent.has_model);

    parent.draw();
    EXPECT_EQ(1, p_parent.steps);
    EXPECT_LT(p_parent.order, p_first.order);
    EXPECT_LT(p_first.order, p_second.order);
}


TEST_F(Node_draw, actions_advance_only_while_the_node_is_drawn)
{
    Node node;
    Probe p;
    bind(node, p);
    Test_clock::advance(40);
    node.draw();
    EXPECT_EQ(40, p.elapsed);
    Test_clock::advance(1000);  // not drawn: nothing happens
    EXPECT_EQ(40, p.elapsed);
    EXPECT_EQ(1, p.steps);
}

TEST_F(Node_draw, a_second_view_of_the_frame_shows_the_same_moment_and_adds_no_time)
{
    Node parent, child;
    Action_sin sway(1, true, 0.0);
    sway.set(0, 1.0, 2.0, 0.0);  // along X, moving with time
    bind(parent, sway);
    Probe seen;  // the child sees the parent's offset
    bind(child, seen);
    Probe ending(1, true, 40.0);  // used up in the second frame
    bind(child, ending);
    parent.add_child(&child);
    Test_clock::advance(50);
    parent.draw();
    Test_clock::advance(100);
    parent.draw();  // `ending` is marked finished and stepped a last time
    const std::array<double, 16> first = seen.matrix;
    Test_clock::advance(300);  // a slow first view: time passes before the second
    parent.draw_again();
    expect_matrix_near(first, seen.matrix);
    EXPECT_EQ(150, sway.elapsed);
    EXPECT_EQ(3, ending.steps) << "the action that ended this frame is missing from the second view";
    parent.draw();  // the next frame counts from the first view's draw
    EXPECT_EQ(450, sway.elapsed);
    EXPECT_EQ(3, ending.steps);
}

TEST_F(Node_draw, destroying_node_leaves_children_and_actions_usable)
{
    Node child;
    Probe p_child;
    bind(child, p_child);
    Probe p_parent;
    {
        Node parent;
        parent.add_child(&child);
        bind(parent, p_parent);
        parent.draw();
    }
    EXPECT_EQ(1, p_parent.steps);
    child.draw();
    EXPECT_EQ(2, p_child.steps);
}


TEST(Node, add_child_keeps_duplicates_in_order_and_ignores_null)
{
    Node a, b;
    a.add_child(&b);
    a.add_child(nullptr);
    a.add_child(&b);
    ASSERT_EQ(2u, a.child_nodes().size());
    EXPECT_EQ(&b, a.child_nodes()[1]);
}
