#include "resources/Mesh_record.h"

#include <cstring>

namespace {
Read_status stop(Read_reason reason, const Byte_cursor& at) { return Read_status{reason, at.offset()}; }
}  // namespace

Read_status Mesh_record::read(Byte_cursor& cursor)
{
    // The whole record is checked on a copy of the cursor first, so a record
    // that does not fit moves nothing and fills nothing.
    Byte_cursor c = cursor;
    int32_t name_size = 0;
    if (!c.read_i32(name_size)) return stop(Read_reason::name_size_past_end, c);
    if (name_size < 1) return stop(Read_reason::name_size_below_1, c);
    if (!c.fits(size_t(name_size))) return stop(Read_reason::mesh_name_past_end, c);
    const char* name = reinterpret_cast<const char*>(c.here());
    // A name field without a NUL would run on into the following fields.
    if (!std::memchr(name, 0, size_t(name_size))) return stop(Read_reason::name_without_nul, c);
    c.skip(size_t(name_size));
    int32_t triangles = 0;
    if (!c.read_i32(triangles) || !c.skip(1)) return stop(Read_reason::triangle_count_past_end, c);
    if (triangles < 0) return stop(Read_reason::negative_triangle_count, c);
    if (size_t(triangles) > c.remaining() / (position_bytes + texcoord_bytes))
        return stop(Read_reason::triangles_past_end, c);
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
    return stop(Read_reason::ok, c);
}

bool Mesh_record::is_procedural() const
{
    return texture_name && texture_name[0] != 0 && texture_name[1] == '#';
}
