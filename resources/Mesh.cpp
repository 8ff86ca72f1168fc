#include "resources/Mesh.h"

#include <GL/gl.h>

#include "resources/Pak_cache.h"
#include "texgen/Texturegen_list.h"

Mesh::Mesh(const Mesh_record& record, const char* pack_file) : Mesh_record(record)
{
    resolve_texture(pack_file);
}

bool Mesh::parse(Byte_cursor& cursor, const char* pack_file)
{
    if (!read(cursor).ok()) return false;
    resolve_texture(pack_file);
    return true;
}

void Mesh::resolve_texture(const char* pack_file)
{
    texture = 0;
    if (is_procedural())
        texture = texturegen_list.lookup(texture_name);
    else if (pack_file)
        texture = pak_cache.texture(pack_file, texture_name);
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
        for (size_t k = 0; k < 3; ++k) {
            const Corner c = corner(t, k);
            glTexCoord2d(c.u, c.v);
            glVertex3d(c.x, c.y, c.z);
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
