// The uploading and decoding members of Pak, kept out of Pak.cpp so that the pack's
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

    std::unique_ptr<Image_rgba> image = std::move(decoded_ahead[size_t(i)]);
    if (!image) {
        Pak_entry e = entry(i);
        image.reset(new Image_rgba());
        if (!image->decode(e.data, e.size)) return 0;  // tried again on the next request
    } else if (image->width() < 1) {
        return 0;  // the decoding ahead failed; the next request tries again
    }

    GLuint tex = 0;
    glGenTextures(1, &tex);
    Texture_upload::rgba(tex, image->width(), image->height(), image->pixels());
    texture_slots[size_t(i)] = tex;
    return tex;
}

void Pak::decode_ahead(int32_t index)
{
    if (index < 0 || index >= entry_count() || texture_slots[size_t(index)] != 0) return;
    const Pak_entry e = entry(index);
    std::unique_ptr<Image_rgba> image(new Image_rgba());
    image->decode(e.data, e.size);  // a failure is kept too: width 0
    decoded_ahead[size_t(index)] = std::move(image);
}
