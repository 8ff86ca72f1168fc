// One mesh record of a model entry, read without GL: its texture name with
// the two flags it carries, and its triangles. The record points into the
// entry's bytes (no copy); the arrays sit at any byte offset, so every value
// is read with memcpy through corner().
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/Byte_cursor.h"
#include "base/Read_status.h"

class Mesh_record {
public:
    static constexpr size_t position_bytes = 9 * 8;  // three corners of x, y, z
    static constexpr size_t texcoord_bytes = 6 * 8;  // three corners of u, v

    struct Corner {
        double x, y, z, u, v;
    };

    // Reads one record at the cursor. A record that does not fit in what is
    // left, or whose name field holds no NUL, moves nothing and fills
    // nothing; the status says why and at which byte.
    Read_status read(Byte_cursor& cursor);
    // Second character "#": the texture comes from the procedural registry.
    bool is_procedural() const;

    // Corner k (0..2) of triangle t: the one place the arrays are decoded.
    Corner corner(int32_t t, size_t k) const
    {
        const uint8_t* p = positions + size_t(t) * position_bytes + 24 * k;
        const uint8_t* uv = texcoords + size_t(t) * texcoord_bytes + 16 * k;
        return Corner{Byte_cursor::f64_at(p, 0), Byte_cursor::f64_at(p, 8), Byte_cursor::f64_at(p, 16),
                      Byte_cursor::f64_at(uv, 0), Byte_cursor::f64_at(uv, 8)};
    }

    const uint8_t* positions = nullptr;  // 9 doubles per triangle
    const uint8_t* texcoords = nullptr;  // 6 doubles per triangle
    int32_t triangle_count = 0;
    const char* texture_name = nullptr;
    bool alpha_test = false;
    bool blended = false;
};
