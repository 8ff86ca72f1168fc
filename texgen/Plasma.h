// The plasma texture: six moving sine waves of which only a thin contour
// band and a grid every 16 pixels are opaque, tinted by three colour
// offsets from the texture name's parameter word (",R,G,B").
#pragma once
#include <cstdint>
#include <vector>

#include "texgen/Texturegen.h"

class Plasma : public Texturegen {
public:
    // Tag for a Plasma that only computes its image and has no GL texture.
    struct Image_only {};

    Plasma(int width, int height, const char* parameters);  // needs GL
    Plasma(int width, int height, const char* parameters, Image_only);

    void generate(int32_t t) override;
    // The image for time t into pixels; no GL involved.
    void compute(int32_t t);

    double step_x = 0;
    double step_y = 0;
    uint8_t tint_red = 0;
    uint8_t tint_green = 0;
    uint8_t tint_blue = 0;

private:
    void set_up(int width, int height, const char* parameters);

    // Scratch of compute, one value a column: kept for the generator's life
    // so that a frame never allocates.
    std::vector<double> column;
};
