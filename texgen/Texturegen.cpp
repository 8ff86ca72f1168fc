#include "texgen/Texturegen.h"

#include <GL/gl.h>

#include "resources/Texture_upload.h"

Texturegen::~Texturegen() = default;

uint32_t Texturegen::create_texture(int32_t w, int32_t h, const uint8_t* image)
{
    width = w;
    height = h;
    pixels = image;
    byte_size = w * h * 4;
    GLuint name = 0;
    glGenTextures(1, &name);
    gl_texture = name;
    return gl_texture;
}

void Texturegen::upload() const { Texture_upload::rgba(gl_texture, width, height, pixels); }
