// The plasma texture of the saver: a Plasma_image uploaded to its own GL
// texture, recomputed for every frame's tick.
#pragma once
#include <cstdint>

#include "texgen/Plasma_image.h"
#include "texgen/Texturegen.h"

class Plasma : public Texturegen {
public:
    Plasma(int width, int height, const char* parameters);  // needs GL

    void generate(int32_t t) override;

    Plasma_image image;
};
