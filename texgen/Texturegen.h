// The base of the procedural texture generators: an RGBA pixel buffer and
// one GL texture. generate(t) computes the image for time t and uploads it;
// the image can also be computed alone, without GL (tools, tests).
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
    uint8_t* pixels = nullptr;  // height rows of width RGBA pixels, owned
    int32_t byte_size = 0;

protected:
    Texturegen() = default;
    // Allocates pixels (unset) and makes the GL texture name, no image yet.
    // Needs the GL context.
    uint32_t create_texture();
    // Allocates pixels only: for images computed without GL.
    void allocate_pixels();
    // Hands pixels to gl_texture: level 0, RGBA, modulate, linear filters.
    void upload() const;
};
