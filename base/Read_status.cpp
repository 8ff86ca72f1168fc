#include "base/Read_status.h"

const char* text(Read_reason reason)
{
    switch (reason) {
    case Read_reason::ok:
        return "read";
    case Read_reason::missing:
        return "does not exist";
    case Read_reason::not_regular:
        return "is not a regular file";
    case Read_reason::unreadable:
        return "cannot be read";
    case Read_reason::too_large:
        return "is too large";
    case Read_reason::count_past_end:
        return "the entry count runs past the end of the file";
    case Read_reason::ends_before_count:
        return "the file ends before the entries its count lists";
    case Read_reason::negative_name_length:
        return "negative name length";
    case Read_reason::name_past_end:
        return "the name runs past the end of the file";
    case Read_reason::size_past_end:
        return "the data size runs past the end of the file";
    case Read_reason::negative_size:
        return "negative data size";
    case Read_reason::data_past_end:
        return "the data runs past the end of the file";
    case Read_reason::header_past_end:
        return "the header runs past the end";
    case Read_reason::name_size_past_end:
        return "the name size runs past the end";
    case Read_reason::name_size_below_1:
        return "name size below 1";
    case Read_reason::mesh_name_past_end:
        return "the name runs past the end";
    case Read_reason::name_without_nul:
        return "the name field holds no NUL";
    case Read_reason::triangle_count_past_end:
        return "the triangle count runs past the end";
    case Read_reason::negative_triangle_count:
        return "negative triangle count";
    case Read_reason::triangles_past_end:
        return "the triangles run past the end";
    case Read_reason::fewer_meshes_than_counted:
        return "the entry ends before the meshes its header counts";
    case Read_reason::other_version:
        return "has another format number";
    case Read_reason::fields_past_end:
        return "is cut short before its last field";
    }
    return "cannot be read";
}
