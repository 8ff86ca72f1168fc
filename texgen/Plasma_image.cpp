#include "texgen/Plasma_image.h"

#include <cmath>
#include <sstream>

namespace {
// One separator character, then an integer as a stream reads it; a missing
// or unreadable number counts as 0. Only the low 8 bits are kept.
uint8_t read_tint(std::istringstream& in)
{
    in.get();
    int value = 0;
    if (!(in >> value)) {
        value = 0;
        in.clear();
        in.setstate(std::ios::failbit);  // later numbers are missing too
    }
    return uint8_t(value & 0xFF);
}
}  // namespace

Plasma_image::Plasma_image(int w, int h, const char* parameters)
{
    width = w;
    height = h;
    // 6.28, not 2 pi: the waves do not quite close over the texture.
    step_x = 6.28 / width;
    step_y = 6.28 / height;
    column.assign(size_t(width > 0 ? width : 0), 0.0);
    std::istringstream in(parameters ? parameters : "");
    tint_red = read_tint(in);
    tint_green = read_tint(in);
    tint_blue = read_tint(in);
    // Sizes are limited to 4096 x 4096 before an image is made, so the
    // product fits.
    byte_size = width * height * 4;
    storage.assign(size_t(byte_size > 0 ? byte_size : 0), 0);
    pixels = storage.data();
}

void Plasma_image::compute(int32_t t)
{
    const double time = t;
    const double a = time * -0.00012;
    const double b = time * -0.00024;
    const double c = time * -0.0048;

    // The sum is column sines then row sines, added left to right, so the
    // column part is one value per column and the row terms are kept apart:
    // ((col + r1) + r2) + r3 gives the very doubles of the per-pixel sum.
    for (int j = 0; j < width; ++j)
        column[size_t(j)] = std::sin(step_x * j + a) + std::sin(2 * step_x * j + b) + std::sin(4 * step_x * j + c);

    for (int i = 0; i < height; ++i) {
        const double r1 = std::sin(step_y * i + a);
        const double r2 = std::sin(2 * step_y * i + b);
        const double r3 = std::sin(4 * step_y * i + c);
        const bool grid_row = i % 16 == 0 || i == height - 1;
        uint8_t* out = pixels + size_t(i) * size_t(width) * 4;
        for (int j = 0; j < width; ++j, out += 4) {
            const double s = column[size_t(j)] + r1 + r2 + r3;
            const int v = int(s * 21.0 + 128.0);
            const int d = v - 120;
            uint8_t alpha = (v >= 121 && v <= 126) ? 255 : 0;
            uint8_t green = uint8_t(tint_green + d);
            if (grid_row || j % 16 == 0 || j == width - 1) {
                green = 127;
                alpha = 255;
            }
            out[0] = uint8_t(tint_red + d);
            out[1] = green;
            out[2] = uint8_t(tint_blue + d);
            out[3] = alpha;
        }
    }
}
