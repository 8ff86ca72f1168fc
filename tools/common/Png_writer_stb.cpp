// Png_writer for the Windows build, where libpng is not at hand.
#include "tools/common/Png_writer.h"

#include <cstdio>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {
void append_bytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}
}  // namespace

std::vector<uint8_t> Png_writer::encode(int width, int height, const uint8_t* rgba)
{
    std::vector<uint8_t> out;
    if (width < 1 || height < 1 || !rgba || width > (1 << 20) / 4) return out;
    if (!stbi_write_png_to_func(append_bytes, &out, width, height, 4, rgba, width * 4)) return {};
    return out;
}
