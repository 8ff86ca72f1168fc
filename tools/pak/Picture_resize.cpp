#include "tools/pak/Picture_resize.h"

#include "resources/Image_rgba.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

int Picture_resize::side_for(int side)
{
    if (side >= max_side) return max_side;
    long p = 1;
    while (p < side) p *= 2;
    return int(p > side && 2L * side * side < p * p ? p / 2 : p);
}

bool Picture_resize::fits(int width, int height) { return side_for(width) == width && side_for(height) == height; }

std::vector<uint8_t> Picture_resize::scaled(const Image_rgba& picture, int width, int height)
{
    std::vector<uint8_t> out(size_t(width) * size_t(height) * 4);
    const int alpha_channel = 3;
    if (!stbir_resize_uint8_srgb(picture.pixels(), picture.width(), picture.height(), 0, out.data(), width, height, 0,
                                 4, alpha_channel, 0))
        out.clear();
    return out;
}
