// The base of the procedural texture generators: one GL texture and the
// RGBA pixels it is fed from. generate(t) computes the image for time t and
// uploads it; the images themselves are computed without GL (Plasma_image).
#pragma once
#include <cstdint>

class Texturegen {
public:
    virtual ~Texturegen();
    Texturegen(const Texturegen&) = delete;
    Texturegen& operator=(const Texturegen&) = delete;

    virtual void generate(int32_t t) = 0;  // compute the image, then upload it

    uint32_t texture() const { return gl_texture; }

    int32_t width = 0;
    int32_t height = 0;
    uint32_t gl_texture = 0;
    const uint8_t* pixels = nullptr;  // height rows of width RGBA pixels, the generator's
    int32_t byte_size = 0;

protected:
    Texturegen() = default;
    // Takes the generator's pixels (unset yet) and makes the GL texture name,
    // no image yet. Needs the GL context.
    uint32_t create_texture(int32_t w, int32_t h, const uint8_t* image);
    // Hands pixels to gl_texture: level 0, RGBA, modulate, linear filters.
    void upload() const;
};
