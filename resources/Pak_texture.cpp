// The uploading member of Pak, kept out of Pak.cpp so that the pack's
// reading and writing build without GL (tools, fuzzing).
#include "resources/Pak.h"

#include <GL/gl.h>

#include "resources/Image_rgba.h"
#include "resources/Texture_upload.h"

uint32_t Pak::texture(const std::string& name)
{
    int32_t i = index_of(name);
    if (i < 0) return 0;
    if (texture_slots[size_t(i)] != 0) return texture_slots[size_t(i)];

    Pak_entry e = entry(i);
    Image_rgba image;
    if (!image.decode(e.data, e.size)) return 0;  // tried again on the next request

    GLuint tex = 0;
    glGenTextures(1, &tex);
    Texture_upload::rgba(tex, image.width(), image.height(), image.pixels());
    texture_slots[size_t(i)] = tex;
    return tex;
}
