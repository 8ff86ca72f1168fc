// One texture and a run of textured triangles inside a model entry. A Mesh
// points into the pack's resident bytes (no copy); the arrays sit at any
// byte offset, so they are read value by value with memcpy.
#pragma once
#include <cstddef>
#include <cstdint>

#include "resources/Byte_cursor.h"

class Mesh {
public:
    // Reads one mesh record at the cursor and resolves its texture. Returns
    // false, resolving nothing and leaving the Mesh empty, when the record
    // does not fit in what is left or its name field holds no NUL.
    // pack_file: the model's own pack, where its image textures are looked
    // up (null: none, the texture stays 0).
    bool parse(Byte_cursor& cursor, const char* pack_file);
    // The reading half of parse: fills every field but texture and resolves
    // nothing, so it needs no GL (tools, fuzzing). On failure why (when
    // given) says what did not fit.
    bool read_record(Byte_cursor& cursor, const char** why = nullptr);
    void draw() const;
    // Second character "#": the texture comes from the procedural registry.
    bool is_procedural() const;

    const uint8_t* positions = nullptr;  // 9 doubles per triangle
    const uint8_t* texcoords = nullptr;  // 6 doubles per triangle
    int32_t triangle_count = 0;
    const char* texture_name = nullptr;
    bool alpha_test = false;
    bool blended = false;
    uint32_t texture = 0;
};
