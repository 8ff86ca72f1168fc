#include "resources/Mesh.h"

#include <GL/gl.h>

#include <cstring>

#include "resources/Pak_cache.h"
#include "texgen/Texturegen_list.h"

namespace {
const size_t position_bytes = 9 * 8;  // three corners of x, y, z
const size_t texcoord_bytes = 6 * 8;  // three corners of u, v
}  // namespace

bool Mesh::read_record(Byte_cursor& cursor, const char** why)
{
    const char* unused = nullptr;
    const char*& problem = why ? *why : unused;
    // The whole record is checked on a copy of the cursor first, so a record
    // that does not fit moves nothing and fills nothing.
    Byte_cursor c = cursor;
    int32_t name_size = 0;
    if (!c.read_i32(name_size)) return (problem = "the name size runs past the end", false);
    if (name_size < 1) return (problem = "name size below 1", false);
    if (!c.fits(size_t(name_size))) return (problem = "the name runs past the end", false);
    const char* name = reinterpret_cast<const char*>(c.here());
    // A name field without a NUL would run on into the following fields.
    if (!std::memchr(name, 0, size_t(name_size))) return (problem = "the name field holds no NUL", false);
    c.skip(size_t(name_size));
    int32_t triangles = 0;
    if (!c.read_i32(triangles) || !c.skip(1))
        return (problem = "the triangle count runs past the end", false);
    if (triangles < 0) return (problem = "negative triangle count", false);
    if (size_t(triangles) > c.remaining() / (position_bytes + texcoord_bytes))
        return (problem = "the triangles run past the end", false);
    const uint8_t* position_data = c.here();
    c.skip(position_bytes * size_t(triangles));
    const uint8_t* texcoord_data = c.here();
    c.skip(texcoord_bytes * size_t(triangles));
    cursor = c;

    size_t length = std::strlen(name);
    texture_name = name;
    // A name shorter than two characters has no flag where it lacks one.
    alpha_test = !(length >= 1 && name[0] == '#');
    blended = length >= 2 && name[1] == '$';
    triangle_count = triangles;
    positions = position_data;
    texcoords = texcoord_data;
    texture = 0;
    return true;
}

bool Mesh::is_procedural() const
{
    return texture_name && texture_name[0] != 0 && texture_name[1] == '#';
}

bool Mesh::parse(Byte_cursor& cursor, const char* pack_file)
{
    if (!read_record(cursor)) return false;
    if (is_procedural())
        texture = texturegen_list.lookup(texture_name);
    else if (pack_file)
        texture = pak_cache.texture(pack_file, texture_name);
    return true;
}

void Mesh::draw() const
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (alpha_test) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.9f);
    }
    if (blended) {
        // Source colour plus destination colour times source alpha.
        glBlendFunc(GL_ONE, GL_SRC_ALPHA);
        glEnable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
    }
    glBegin(GL_TRIANGLES);
    for (int32_t t = 0; t < triangle_count; ++t) {
        const uint8_t* p = positions + size_t(t) * position_bytes;
        const uint8_t* uv = texcoords + size_t(t) * texcoord_bytes;
        for (size_t k = 0; k < 3; ++k) {
            glTexCoord2d(Byte_cursor::f64_at(uv, 16 * k), Byte_cursor::f64_at(uv, 16 * k + 8));
            glVertex3d(Byte_cursor::f64_at(p, 24 * k), Byte_cursor::f64_at(p, 24 * k + 8),
                       Byte_cursor::f64_at(p, 24 * k + 16));
        }
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    if (alpha_test) glDisable(GL_ALPHA_TEST);
    if (blended) {
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }
}
