// One texture and a run of textured triangles inside a model entry. A Mesh
// points into the pack's resident bytes (no copy); the arrays sit at any
// byte offset, so they are read value by value with memcpy.
#pragma once
#include <cstdint>

#include "resources/Byte_cursor.h"

class Mesh {
public:
    // Reads one mesh record at the cursor and resolves its texture. Returns
    // false, resolving nothing and leaving the Mesh empty, when the record
    // does not fit in what is left or its name field holds no NUL.
    bool parse(Byte_cursor& cursor, const char* pack_file);
    void draw() const;

    const uint8_t* positions = nullptr;  // 9 doubles per triangle
    const uint8_t* texcoords = nullptr;  // 6 doubles per triangle
    int32_t triangle_count = 0;
    const char* texture_name = nullptr;
    bool alpha_test = false;
    bool blended = false;
    uint32_t texture = 0;
};
