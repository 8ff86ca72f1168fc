// The display's projection and the light parameters, on a real GL context.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>

#include "app/Display.h"
#include "tests/support/Gl_context.h"

TEST(Display, zero_height_viewport_becomes_one_pixel_high)
{
    REQUIRE_GL();
    Display::set_viewport(64, 0);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 1);
    // With aspect = width, the projection's x scale is f / 64 of its y scale.
    GLdouble p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5] / p[0], 64.0, 1e-3);
    Gl_context::reset_state();
}

TEST(Display, projection_has_45_degree_field_and_near_far_planes)
{
    REQUIRE_GL();
    Display::set_viewport(1024, 768);
    GLdouble p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    const double f = 1.0 / std::tan(45.0 / 2.0 * 3.14159265358979 / 180.0);
    EXPECT_NEAR(p[5], f, 1e-6);
    EXPECT_NEAR(p[0], f / (1024.0f / 768.0f), 1e-6);
    const double near = 0.1, far = 250.0;
    EXPECT_NEAR(p[10], (far + near) / (near - far), 1e-6);
    EXPECT_NEAR(p[14], 2 * far * near / (near - far), 1e-6);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);  // later drawing expects the modelview stack
    Gl_context::reset_state();
}

TEST(Display, setup_lights_sets_light1_and_enables_lighting_but_not_the_light)
{
    REQUIRE_GL();
    glDisable(GL_LIGHT1);
    setup_lights();
    GLfloat v[4];
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, v);
    EXPECT_FLOAT_EQ(v[0], 0.6f);
    EXPECT_FLOAT_EQ(v[3], 1.0f);
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, v);
    EXPECT_FLOAT_EQ(v[1], 0.3f);
    glGetLightfv(GL_LIGHT1, GL_SPECULAR, v);
    EXPECT_FLOAT_EQ(v[2], 1.0f);
    glGetLightfv(GL_LIGHT1, GL_CONSTANT_ATTENUATION, v);
    EXPECT_FLOAT_EQ(v[0], 0.0f);
    glGetLightfv(GL_LIGHT1, GL_LINEAR_ATTENUATION, v);
    EXPECT_FLOAT_EQ(v[0], 0.0f);  // GL's default is kept
    glGetLightfv(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, v);
    EXPECT_FLOAT_EQ(v[0], 0.00006f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    Gl_context::reset_state();
}
