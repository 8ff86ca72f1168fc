// The Windows build decodes images with stb_image, this one with SDL_image:
// every image of the packs must come out as the same RGBA pixels from both.
#include <gtest/gtest.h>

#include <string>

#include "resources/Image_rgba.h"
#include "resources/Pak.h"
#include "tests/tools/artgen/Art_files.h"

TEST(Image_decoders, stb_image_and_sdl_image_give_the_same_pixels_for_every_pack_image)
{
    int images = 0;
    for (const std::string& name : art::pack_names()) {
        Pak pak;
        ASSERT_EQ(Read_reason::ok, pak.read_file(art::bin_dir() + "/" + name)) << name;
        for (int32_t i = 0; i < pak.entry_count(); ++i) {
            const Pak_entry bytes = pak.entry(i);
            Image_rgba by_sdl, by_stb;
            const bool sdl_ok = by_sdl.decode_with_sdl_image(bytes.data, bytes.size);
            const bool stb_ok = by_stb.decode_with_stb(bytes.data, bytes.size);
            const std::string where = name + ": " + pak.name(i);
            ASSERT_EQ(sdl_ok, stb_ok) << where;
            if (!sdl_ok) continue;
            ++images;
            ASSERT_EQ(by_sdl.width(), by_stb.width()) << where;
            ASSERT_EQ(by_sdl.height(), by_stb.height()) << where;
            const size_t n = size_t(by_sdl.width()) * size_t(by_sdl.height()) * 4;
            size_t differing = 0;
            for (size_t k = 0; k < n; ++k) differing += by_sdl.pixels()[k] != by_stb.pixels()[k];
            EXPECT_EQ(differing, 0u) << where;
        }
    }
    EXPECT_GT(images, 6);
}

TEST(Image_decoders, both_refuse_what_is_no_image)
{
    const std::string cases[] = {"", "not an image", std::string("\x89PNG\r\n\x1a\n", 8) + "short"};
    for (const std::string& bytes : cases) {
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        Image_rgba a, b;
        EXPECT_FALSE(a.decode_with_sdl_image(data, int32_t(bytes.size())));
        EXPECT_FALSE(b.decode_with_stb(data, int32_t(bytes.size())));
        EXPECT_EQ(b.width(), 0);
    }
}
