// Pictures brought to sides the saver can upload everywhere: OpenGL 1.1
// without the NPOT extension (Windows' own renderer, old drivers) takes
// only power-of-two sides, and nothing over 1024.
#pragma once
#include <cstdint>
#include <vector>

class Image_rgba;

class Picture_resize {
public:
    static const int max_side = 1024;
    // The power of two nearest to `side` (by ratio: 724 and below go down
    // to 512, 725 up to 1024), at most max_side.
    static int side_for(int side);
    // True when the picture's sides are already what side_for gives.
    static bool fits(int width, int height);
    // The picture scaled to width x height with a filter that averages
    // (stb_image_resize, sRGB-aware, alpha kept apart): 8-bit RGBA rows.
    static std::vector<uint8_t> scaled(const Image_rgba& picture, int width, int height);
};
