// A mesh record of a model with its texture resolved, ready to draw: the
// GL side of Mesh_record.
#pragma once
#include <cstdint>

#include "base/Byte_cursor.h"
#include "resources/Mesh_record.h"

class Mesh : public Mesh_record {
public:
    Mesh() = default;
    // The record with its texture resolved (see resolve_texture).
    Mesh(const Mesh_record& record, const char* pack_file);

    // Reads one mesh record at the cursor and resolves its texture. Returns
    // false, resolving nothing and leaving the Mesh empty, when the record
    // does not fit in what is left or its name field holds no NUL.
    bool parse(Byte_cursor& cursor, const char* pack_file);
    // Procedural names come from the procedural registry, others from the
    // model's own pack, pack_file (null: none, the texture stays 0).
    void resolve_texture(const char* pack_file);
    void draw() const;

    uint32_t texture = 0;
};
