// The plasma texture's image: six moving sine waves of which only a thin
// contour band and a grid every 16 pixels are opaque, tinted by three colour
// offsets from the texture name's parameter word (",R,G,B"). Pixels only,
// no GL: the saver's Plasma uploads them, `pak texgen` writes them out.
#pragma once
#include <cstdint>
#include <vector>

class Plasma_image {
public:
    Plasma_image(int width, int height, const char* parameters);
    Plasma_image(const Plasma_image&) = delete;
    Plasma_image& operator=(const Plasma_image&) = delete;

    // The image for time t into pixels.
    void compute(int32_t t);

    int32_t width = 0;
    int32_t height = 0;
    double step_x = 0;
    double step_y = 0;
    uint8_t tint_red = 0;
    uint8_t tint_green = 0;
    uint8_t tint_blue = 0;
    uint8_t* pixels = nullptr;  // height rows of width RGBA pixels
    int32_t byte_size = 0;

private:
    std::vector<uint8_t> storage;
    // Scratch of compute, one value a column: kept for the image's life so
    // that a frame never allocates.
    std::vector<double> column;
};
