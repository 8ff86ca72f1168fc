// Image entries becoming GL textures, read back from a real GL context:
// one texture per pack entry, retries after failed decodes, conversion of
// images that are not 8-bit RGBA.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>
#include <png.h>

#include <cstring>
#include <memory>
#include <vector>

#include "resources/Image_rgba.h"
#include "resources/Pak.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_packs.h"

namespace {
std::unique_ptr<Pak> pak_of(const Test_packs::Entries& entries)
{
    std::vector<uint8_t> bytes = Test_packs::pack_bytes(entries);
    std::unique_ptr<Pak> p(new Pak);
    p->read_bytes(bytes.data(), bytes.size());
    return p;
}

std::vector<uint8_t> texture_image(GLuint tex, int w, int h)
{
    std::vector<uint8_t> px(size_t(w) * h * 4);
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

GLint level_parameter(GLuint tex, GLenum which)
{
    GLint v = -1;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &v);
    return v;
}

// A PNG of another colour type than RGBA, written with libpng directly.
std::vector<uint8_t> png_of_type(int w, int h, int color_type, const std::vector<uint8_t>& rows_bytes,
                                 const std::vector<png_color>& palette = {})
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep d, png_size_t n) {
            auto* o = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            o->insert(o->end(), d, d + n);
        },
        [](png_structp) {});
    png_set_IHDR(png, info, w, h, 8, color_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_write_info(png, info);
    size_t row = rows_bytes.size() / size_t(h);
    for (int y = 0; y < h; ++y) png_write_row(png, const_cast<png_bytep>(&rows_bytes[size_t(y) * row]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}
}  // namespace

TEST(Texture_upload, image_of_64_by_32_becomes_a_64_by_32_level_0_rgba_texture)
{
    REQUIRE_GL();
    auto p = pak_of({{"pic.png", Test_packs::png(64, 32, 10, 20, 30, 40)}});
    GLuint tex = p->texture("pic.png");
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(level_parameter(tex, GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(level_parameter(tex, GL_TEXTURE_HEIGHT), 32);
    EXPECT_EQ(level_parameter(tex, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    std::vector<uint8_t> px = texture_image(tex, 64, 32);
    EXPECT_EQ(px[0], 10);
    EXPECT_EQ(px[1], 20);
    EXPECT_EQ(px[2], 30);
    EXPECT_EQ(px[3], 40);
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v);
    EXPECT_EQ(v, GL_MODULATE);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &v);
    EXPECT_EQ(GLuint(v), tex);
}

TEST(Texture_upload, image_top_row_becomes_texture_row_zero)
{
    REQUIRE_GL();
    std::vector<uint8_t> rgba(2 * 2 * 4, 255);
    rgba[0] = 1;  // top-left pixel red = 1
    rgba[8] = 2;  // bottom-left pixel red = 2
    std::vector<uint8_t> png = png_of_type(2, 2, PNG_COLOR_TYPE_RGBA, rgba);
    auto p = pak_of({{"rows", png}});
    std::vector<uint8_t> px = texture_image(p->texture("rows"), 2, 2);
    EXPECT_EQ(px[0], 1);
    EXPECT_EQ(px[8], 2);
}

TEST(Texture_upload, same_entry_asked_twice_is_decoded_and_made_once)
{
    REQUIRE_GL();
    auto p = pak_of({{"a.png", Test_packs::png(4, 4, 1, 2, 3, 255)}});
    GLuint first = p->texture("a.png");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(p->texture("a.png"), first);
    EXPECT_EQ(p->texture_slot(0), first);
}

TEST(Texture_upload, same_entry_name_in_two_packs_gives_two_textures)
{
    REQUIRE_GL();
    auto a = pak_of({{"bark.png", Test_packs::png(4, 4, 255, 0, 0, 255)}});
    auto b = pak_of({{"bark.png", Test_packs::png(4, 4, 0, 255, 0, 255)}});
    GLuint ta = a->texture("bark.png");
    GLuint tb = b->texture("bark.png");
    EXPECT_NE(ta, 0u);
    EXPECT_NE(tb, 0u);
    EXPECT_NE(ta, tb);
    EXPECT_EQ(texture_image(tb, 4, 4)[1], 255);
}

TEST(Texture_upload, missing_entry_is_zero_and_makes_no_texture)
{
    REQUIRE_GL();
    auto p = pak_of({{"a.png", Test_packs::png(4, 4, 1, 2, 3, 255)}});
    GLuint probe = 0;
    glGenTextures(1, &probe);
    EXPECT_EQ(p->texture("b.png"), 0u);
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_EQ(next, probe + 1);  // no name was taken in between
}

TEST(Texture_upload, failed_decode_returns_zero_and_is_tried_again)
{
    REQUIRE_GL();
    auto p = pak_of({{"broken.png", {'n', 'o', 't', ' ', 'p', 'n', 'g'}}, {"empty.png", {}}});
    EXPECT_EQ(p->texture("broken.png"), 0u);
    EXPECT_EQ(p->texture_slot(0), 0u);
    EXPECT_EQ(p->texture("broken.png"), 0u);
    EXPECT_EQ(p->texture("empty.png"), 0u);
}

TEST(Texture_upload, rgb_png_without_alpha_is_uploaded_opaque_with_right_colours)
{
    REQUIRE_GL();
    std::vector<uint8_t> rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    auto p = pak_of({{"rgb.png", png_of_type(2, 2, PNG_COLOR_TYPE_RGB, rgb)}});
    GLuint tex = p->texture("rgb.png");
    ASSERT_NE(tex, 0u);
    std::vector<uint8_t> px = texture_image(tex, 2, 2);
    std::vector<uint8_t> expect = {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255, 100, 110, 120, 255};
    EXPECT_EQ(px, expect);
}

TEST(Texture_upload, grey_and_paletted_pngs_are_converted_to_rgba)
{
    REQUIRE_GL();
    std::vector<uint8_t> grey = {0, 77, 200};  // 3 x 1
    std::vector<png_color> palette = {{255, 0, 0}, {0, 0, 255}};
    std::vector<uint8_t> indices = {1, 0, 1};
    auto p = pak_of({{"grey", png_of_type(3, 1, PNG_COLOR_TYPE_GRAY, grey)},
                    {"pal", png_of_type(3, 1, PNG_COLOR_TYPE_PALETTE, indices, palette)}});
    std::vector<uint8_t> g = texture_image(p->texture("grey"), 3, 1);
    EXPECT_EQ(g, (std::vector<uint8_t>{0, 0, 0, 255, 77, 77, 77, 255, 200, 200, 200, 255}));
    std::vector<uint8_t> c = texture_image(p->texture("pal"), 3, 1);
    EXPECT_EQ(c, (std::vector<uint8_t>{0, 0, 255, 255, 255, 0, 0, 255, 0, 0, 255, 255}));
}

TEST(Texture_upload, bmp_in_blue_green_red_order_comes_out_red_green_blue_alpha)
{
    REQUIRE_GL();
    // A 24-bit BMP stores blue, green, red: uploading it as it stands would
    // swap colours and read past the pixels.
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    ASSERT_NE(s, nullptr);
    uint8_t* px = static_cast<uint8_t*>(s->pixels);
    const uint8_t stored[6] = {30, 20, 10, 60, 50, 40};  // (10, 20, 30) and (40, 50, 60)
    std::memcpy(px, stored, 6);
    std::vector<uint8_t> bmp(4096);
    SDL_RWops* rw = SDL_RWFromMem(bmp.data(), int(bmp.size()));
    ASSERT_EQ(SDL_SaveBMP_RW(s, rw, 0), 0);
    bmp.resize(size_t(SDL_RWtell(rw)));
    SDL_RWclose(rw);
    SDL_FreeSurface(s);
    auto p = pak_of({{"pic.bmp", bmp}});
    GLuint tex = p->texture("pic.bmp");
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(texture_image(tex, 2, 1), (std::vector<uint8_t>{10, 20, 30, 255, 40, 50, 60, 255}));
}

TEST(Texture_upload, rgba_png_is_taken_as_it_decodes)
{
    std::vector<uint8_t> png = Test_packs::png(3, 3, 9, 8, 7, 6);
    Image_rgba image;
    ASSERT_TRUE(image.decode(png.data(), int32_t(png.size())));
    EXPECT_TRUE(image.was_rgba());
    EXPECT_EQ(image.width(), 3);
    EXPECT_EQ(image.pixels()[3], 6);
}
