// The plasma image: the worked pixels, equality of the fast computation with
// the plain per-pixel formula, and the upload read back from GL.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "tests/support/Gl_context.h"
#include "texgen/Plasma.h"
#include "texgen/Plasma_image.h"

namespace {
// The formula pixel by pixel, exactly as written: six sines summed in order.
std::vector<uint8_t> reference(int width, int height, uint8_t tr, uint8_t tg, uint8_t tb, int32_t t)
{
    std::vector<uint8_t> out(size_t(width) * height * 4);
    const double step_x = 6.28 / width, step_y = 6.28 / height;
    const double T = t;
    const double a = T * -0.00012, b = T * -0.00024, c = T * -0.0048;
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            double s = std::sin(step_x * j + a) + std::sin(2 * step_x * j + b) + std::sin(4 * step_x * j + c) +
                       std::sin(step_y * i + a) + std::sin(2 * step_y * i + b) + std::sin(4 * step_y * i + c);
            int v = int(s * 21.0 + 128.0);
            int alpha = (v >= 121 && v <= 126) ? 255 : 0;
            int d = v - 120;
            int red = (tr + d) & 255, green = (tg + d) & 255, blue = (tb + d) & 255;
            if (j % 16 == 0 || i % 16 == 0 || j == width - 1 || i == height - 1) {
                green = 127;
                alpha = 255;
            }
            size_t at = 4 * (size_t(i) * width + j);
            out[at] = uint8_t(red);
            out[at + 1] = uint8_t(green);
            out[at + 2] = uint8_t(blue);
            out[at + 3] = uint8_t(alpha);
        }
    }
    return out;
}

struct Pixel {
    int r, g, b, a;
};

Pixel pixel(const Plasma_image& p, int column, int row)
{
    const uint8_t* px = p.pixels + 4 * (size_t(row) * p.width + column);
    return {px[0], px[1], px[2], px[3]};
}

void expect_pixel(const Plasma_image& p, int column, int row, Pixel want)
{
    Pixel got = pixel(p, column, row);
    EXPECT_EQ(got.r, want.r) << column << "," << row;
    EXPECT_EQ(got.g, want.g) << column << "," << row;
    EXPECT_EQ(got.b, want.b) << column << "," << row;
    EXPECT_EQ(got.a, want.a) << column << "," << row;
}
}  // namespace

TEST(Plasma_image, corner_pixel_at_time_zero_is_a_grid_pixel)
{
    Plasma_image p(64, 64, ",3,4,5");
    p.compute(0);
    expect_pixel(p, 0, 0, {11, 127, 13, 255});
}

TEST(Plasma_image, red_tint_wraps_modulo_256)
{
    Plasma_image p(64, 64, ",250,10,20");
    p.compute(0);
    expect_pixel(p, 8, 8, {73, 89, 99, 0});
    p.compute(1000);
    expect_pixel(p, 8, 8, {26, 42, 52, 0});
}

TEST(Plasma_image, contour_band_pixel_is_opaque)
{
    Plasma_image p(64, 64, ",0,0,0");
    p.compute(0);
    expect_pixel(p, 25, 1, {6, 6, 6, 255});
}

TEST(Plasma_image, last_column_of_a_64_by_32_plasma_is_a_grid_line)
{
    Plasma_image p(64, 32, ",0,0,0");
    p.compute(0);
    expect_pixel(p, 63, 5, {15, 127, 15, 255});
}

TEST(Plasma_image, fast_image_equals_the_per_pixel_formula_bit_for_bit)
{
    struct Size {
        int w, h;
    } sizes[] = {{64, 64}, {64, 32}, {1, 1}, {17, 5}, {3, 130}, {256, 256}};
    struct Tint {
        uint8_t r, g, b;
    } tints[] = {{0, 0, 0}, {250, 10, 20}, {255, 255, 255}};
    const int32_t times[] = {0, 1, 1000, 123457, -5000, 2147483647, -2147483647 - 1};
    for (const Size& s : sizes) {
        for (const Tint& k : tints) {
            std::string params = "," + std::to_string(k.r) + "," + std::to_string(k.g) + "," + std::to_string(k.b);
            Plasma_image p(s.w, s.h, params.c_str());
            for (int32_t t : times) {
                p.compute(t);
                std::vector<uint8_t> want = reference(s.w, s.h, k.r, k.g, k.b, t);
                ASSERT_EQ(std::vector<uint8_t>(p.pixels, p.pixels + p.byte_size), want)
                    << s.w << "x" << s.h << " tint " << params << " t " << t;
            }
        }
    }
}

TEST(Plasma_image, same_time_gives_the_same_image)
{
    Plasma_image p(32, 32, ",1,2,3");
    p.compute(777);
    std::vector<uint8_t> first(p.pixels, p.pixels + p.byte_size);
    p.compute(5000);
    p.compute(777);
    EXPECT_EQ(std::vector<uint8_t>(p.pixels, p.pixels + p.byte_size), first);
}

TEST(Plasma_parameters, tints_read_after_one_separator_each)
{
    Plasma_image p(4, 4, "x1y2z3");
    EXPECT_EQ(p.tint_red, 1);
    EXPECT_EQ(p.tint_green, 2);
    EXPECT_EQ(p.tint_blue, 3);
    Plasma_image q(4, 4, ",300,-1,256");
    EXPECT_EQ(q.tint_red, 300 & 255);
    EXPECT_EQ(q.tint_green, 255);
    EXPECT_EQ(q.tint_blue, 0);
}

TEST(Plasma_parameters, missing_or_garbled_tints_are_zero)
{
    Plasma_image p(4, 4, ",7");
    EXPECT_EQ(p.tint_red, 7);
    EXPECT_EQ(p.tint_green, 0);
    EXPECT_EQ(p.tint_blue, 0);
    Plasma_image q(4, 4, "");
    EXPECT_EQ(q.tint_red, 0);
    Plasma_image r(4, 4, ",a,5,6");
    EXPECT_EQ(r.tint_red, 0);
    EXPECT_EQ(r.tint_green, 0);
    Plasma_image s(4, 4, ",99999999999999999999,1,1");
    EXPECT_EQ(s.tint_red, 0);
    EXPECT_EQ(s.step_x, 6.28 / 4);
}

TEST(Plasma_upload, generate_uploads_the_computed_image_with_modulate_and_linear)
{
    REQUIRE_GL();
    Plasma p(64, 32, ",0,0,0");
    ASSERT_NE(p.texture(), 0u);
    p.generate(0);
    GLint w = 0, h = 0, v = 0;
    glBindTexture(GL_TEXTURE_2D, p.texture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    std::vector<uint8_t> px(64 * 32 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    EXPECT_EQ(px, reference(64, 32, 0, 0, 0, 0));
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v);
    EXPECT_EQ(v, GL_MODULATE);
}

TEST(Plasma_upload, new_plasma_has_a_texture_name_but_no_image_yet)
{
    REQUIRE_GL();
    Plasma p(16, 16, ",0,0,0");
    GLint w = -1;
    glBindTexture(GL_TEXTURE_2D, p.texture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(p.byte_size, 16 * 16 * 4);
}
