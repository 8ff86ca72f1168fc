#include "texgen/Texturegen.h"

#include <GL/gl.h>

#include <cstddef>

Texturegen::~Texturegen() { delete[] pixels; }

void Texturegen::allocate_pixels()
{
    // Sizes are limited to 4096 x 4096 before a generator is made, so the
    // product fits.
    byte_size = width * height * 4;
    delete[] pixels;
    pixels = new uint8_t[size_t(byte_size)];
}

uint32_t Texturegen::create_texture()
{
    allocate_pixels();
    GLuint name = 0;
    glGenTextures(1, &name);
    gl_texture = name;
    return gl_texture;
}

void Texturegen::upload() const
{
    glBindTexture(GL_TEXTURE_2D, gl_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}
