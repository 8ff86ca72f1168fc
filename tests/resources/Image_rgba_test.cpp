// Image_rgba sizes a picture from its header before decoding it: a side
// over max_side is never decoded, by either build's decoder.
#include <gtest/gtest.h>

#include "resources/Image_rgba.h"
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
