// Image_rgba sizes a picture from its header before decoding it: a side
// over max_side is never decoded, by either build's decoder. Pictures of
// every colour type come out as the same R, G, B, A bytes from both.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>


#include "resources/Image_rgba.h"
#include "tests/support/Test_jpeg.h"
#include "tests/support/Test_packs.h"

TEST(Image_rgba, no_decoder_takes_a_picture_over_8192_pixels_on_a_side)
{
    struct Case {
        int w, h;
        bool decodes;
    };
    const Case cases[] = {{8192, 1, true}, {1, 8192, true}, {8193, 1, false}, {1, 8193, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        const std::vector<uint8_t> png = Test_packs::png(c.w, c.h, 10, 20, 30);
        const Image_rgba::Header header = Image_rgba::read_header(png.data(), int32_t(png.size()));
        EXPECT_STREQ("PNG", header.format);
        EXPECT_EQ(c.w, header.width);
        EXPECT_EQ(c.h, header.height);
        Image_rgba by_build, by_sdl, by_stb;
        EXPECT_EQ(c.decodes, by_build.decode(png.data(), int32_t(png.size())));
        EXPECT_EQ(c.decodes, by_sdl.decode_with_sdl_image(png.data(), int32_t(png.size())));
        EXPECT_EQ(c.decodes, by_stb.decode_with_stb(png.data(), int32_t(png.size())));
    }
}

namespace {
using Bytes = std::vector<uint8_t>;

// A 2 x 2 PNG of this colour type with these samples, rows top first.
Bytes png_2x2(int color_type, Bytes samples, std::vector<png_color> palette = {}, Bytes transparency = {},
              const png_color_16* key = nullptr)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const auto append = [](png_structp p, png_bytep d, png_size_t n) {
        static_cast<Bytes*>(png_get_io_ptr(p))->insert(static_cast<Bytes*>(png_get_io_ptr(p))->end(), d, d + n);
    };
    png_set_write_fn(png, &out, append, [](png_structp) {});
    png_set_IHDR(png, info, 2, 2, 8, color_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!transparency.empty() || key)
        png_set_tRNS(png, info, transparency.empty() ? nullptr : transparency.data(), int(transparency.size()), key);
    png_write_info(png, info);
    png_write_row(png, samples.data());
    png_write_row(png, samples.data() + samples.size() / 2);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct Colour_case {
    const char* what;
    Bytes picture;
    Bytes rgba;         // the pixels as they must come out
    int tolerance = 0;  // JPEG: each block's colour but for rounding
};

// Four 8 x 8 blocks of one colour each: a block of one colour keeps it.
Colour_case jpeg_blocks()
{
    const uint8_t colours[4][3] = {{200, 40, 60}, {30, 160, 220}, {250, 250, 250}, {20, 90, 20}};
    Bytes rgb, rgba;
    for (int i = 0; i < 256; ++i) {
        const uint8_t* c = colours[i / 128 * 2 + i % 16 / 8];
        rgb.insert(rgb.end(), c, c + 3);
        rgba.insert(rgba.end(), {c[0], c[1], c[2], 255});
    }
    return {"JPEG", test_jpeg(16, 16, rgb, 100, false), rgba, 2};
}

const std::vector<png_color> palette = {{255, 0, 0}, {0, 0, 255}, {0, 200, 0}};
const png_color_16 grey_77 = {0, 0, 0, 0, 77};

const Colour_case colour_cases[] = {
    {"RGBA", png_2x2(PNG_COLOR_TYPE_RGBA, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
    {"RGB", png_2x2(PNG_COLOR_TYPE_RGB, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}),
     {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255, 100, 110, 120, 255}},
    {"grey", png_2x2(PNG_COLOR_TYPE_GRAY, {0, 77, 200, 255}),
     {0, 0, 0, 255, 77, 77, 77, 255, 200, 200, 200, 255, 255, 255, 255, 255}},
    {"grey and alpha", png_2x2(PNG_COLOR_TYPE_GRAY_ALPHA, {0, 10, 77, 128, 200, 255, 255, 0}),
     {0, 0, 0, 10, 77, 77, 77, 128, 200, 200, 200, 255, 255, 255, 255, 0}},
    {"palette", png_2x2(PNG_COLOR_TYPE_PALETTE, {1, 0, 2, 1}, palette),
     {0, 0, 255, 255, 255, 0, 0, 255, 0, 200, 0, 255, 0, 0, 255, 255}},
    // SDL_image gives this one as a colour key.
    {"palette, one colour transparent", png_2x2(PNG_COLOR_TYPE_PALETTE, {1, 0, 2, 1}, palette, {255, 0}),
     {0, 0, 255, 0, 255, 0, 0, 255, 0, 200, 0, 255, 0, 0, 255, 0}},
    {"palette, translucent", png_2x2(PNG_COLOR_TYPE_PALETTE, {1, 0, 2, 1}, palette, {128, 0}),
     {0, 0, 255, 0, 255, 0, 0, 128, 0, 200, 0, 255, 0, 0, 255, 0}},
    // SDL_image gives it as two bytes, grey then alpha, under RGB's masks.
    {"grey, one grey transparent", png_2x2(PNG_COLOR_TYPE_GRAY, {0, 77, 200, 255}, {}, {}, &grey_77),
     {0, 0, 0, 255, 77, 77, 77, 0, 200, 200, 200, 255, 255, 255, 255, 255}},
    jpeg_blocks(),
};

// How far apart the bytes of the two are, at most.
int farthest(const uint8_t* pixels, const Bytes& rgba)
{
    int far = 0;
    for (size_t i = 0; i < rgba.size(); ++i) far = std::max(far, std::abs(pixels[i] - rgba[i]));
    return far;
}
}  // namespace

TEST(Image_rgba, every_colour_type_comes_out_as_its_pixels_from_both_decoders)
{
    for (const Colour_case& c : colour_cases) {
        SCOPED_TRACE(c.what);
        const int32_t size = int32_t(c.picture.size());
        Image_rgba by[3];
        ASSERT_TRUE(by[0].decode_with_sdl_image(c.picture.data(), size));
        ASSERT_TRUE(by[1].decode_with_stb(c.picture.data(), size));
        ASSERT_TRUE(by[2].decode(c.picture.data(), size));
        for (const Image_rgba& image : by) {
            ASSERT_EQ(c.rgba.size(), size_t(image.width()) * size_t(image.height()) * 4);
            EXPECT_LE(farthest(image.pixels(), c.rgba), c.tolerance);
        }
        // SDL_image and stb_image alike: exactly for a PNG, within 1 for a JPEG.
        EXPECT_LE(farthest(by[1].pixels(), Bytes(by[0].pixels(), by[0].pixels() + c.rgba.size())), c.tolerance / 2);
    }
}

// A 2 x 2 BMP of 8 bits a pixel listing two colours, red and blue, whose
// pixels (rows bottom first) index 2, 1 / 0, 1.
Bytes bmp_2x2_two_colours()
{
    Bytes bmp = {'B', 'M'};
    const auto le = [&bmp](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(uint8_t(v >> (8 * i)));
    };
    le(14 + 40 + 8 + 8, 4), le(0, 4), le(14 + 40 + 8, 4);             // file header
    le(40, 4), le(2, 4), le(2, 4), le(1, 2), le(8, 2), le(0, 4);       // 2 x 2, 8 bits, no compression
    le(8, 4), le(2835, 4), le(2835, 4), le(2, 4), le(0, 4);            // two colours listed
    bmp.insert(bmp.end(), {0, 0, 255, 0, 255, 0, 0, 0, 2, 1, 0, 0, 0, 1, 0, 0});
    return bmp;
}

// An index just past a short palette, in a PNG (three colours) and a BMP
// (two): the saver's decoder (SDL_image) gives that pixel opaque black,
// never a colour read from beyond the palette (for a BMP, SDL_image takes
// the bytes after it for colours). stb_image gives stale bytes: not asked.
TEST(Image_rgba, an_index_just_past_a_short_palette_is_opaque_black)
{
    const struct {
        const char* what;
        Bytes picture;
        Bytes rgba;
    } rows[] = {
        {"PNG", png_2x2(PNG_COLOR_TYPE_PALETTE, {1, 0, 3, 1}, palette),
         {0, 0, 255, 255, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255}},
        {"BMP", bmp_2x2_two_colours(), {255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 0, 255, 0, 0, 255, 255}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const int32_t size = int32_t(row.picture.size());
        Image_rgba by_build, by_sdl;
        ASSERT_TRUE(by_build.decode(row.picture.data(), size));
        ASSERT_TRUE(by_sdl.decode_with_sdl_image(row.picture.data(), size));
        for (const Image_rgba* image : {&by_build, &by_sdl}) {
            ASSERT_EQ(size_t(image->width()) * size_t(image->height()) * 4, row.rgba.size());
            EXPECT_EQ(Bytes(image->pixels(), image->pixels() + row.rgba.size()), row.rgba);
        }
    }
}
