#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "scene/Transform.h"
#include "tests/support/Gl_context.h"

namespace {

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

}  // namespace


TEST(Transform, reset_keeps_scaled_flag_but_restores_unit_scale)
{
    Transform t;
    t.set_scale(2, 3, 4);
    t.add_position(1, 2, 3);
    t.add_rotation(10, 20, 30);
    t.reset();
    EXPECT_TRUE(t.is_scaled());
    EXPECT_EQ(1, t.scale_x);
    EXPECT_EQ(1, t.scale_z);
    EXPECT_EQ(0, t.x);
    EXPECT_EQ(0, t.rot_z);
}


TEST(Transform, placement_translates_then_rotates_about_x_then_y_then_z)
{
    REQUIRE_GL();
    Gl_context::reset_state();
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glRotatef(30, 1, 0, 0);
    glRotatef(45, 0, 1, 0);
    glRotatef(60, 0, 0, 1);
    auto want = modelview();

    glLoadIdentity();
    Transform t;
    t.set_position(1, 2, 3);
    t.set_rotation(30, 45, 60);
    t.apply_placement();
    expect_matrix_near(want, modelview());
}

TEST(Transform, placement_ignores_scale_which_only_apply_scale_issues)
{
    REQUIRE_GL();
    Gl_context::reset_state();
    Transform t;
    t.set_position(5, 0, 0);
    t.set_scale(2, 3, 4);
    t.apply_placement();
    auto m = modelview();
    EXPECT_DOUBLE_EQ(1, m[0]);
    EXPECT_DOUBLE_EQ(1, m[5]);
    EXPECT_DOUBLE_EQ(5, m[12]);

    glLoadIdentity();
    t.apply_scale();
    m = modelview();
    EXPECT_DOUBLE_EQ(2, m[0]);
    EXPECT_DOUBLE_EQ(3, m[5]);
    EXPECT_DOUBLE_EQ(4, m[10]);
    glLoadIdentity();
}
