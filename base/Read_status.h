// The one vocabulary of failure for the readers and writers of our files:
// why reading or writing stopped, and at which byte of the block it stopped.
// One table of texts (text()) serves every tool that tells people why; tests
// ask which reason fired.
#pragma once
#include <cstddef>

enum class Read_reason {
    ok,
    // Reading a file whole (Whole_file).
    missing,
    not_regular,
    unreadable,
    too_large,
    // A pack's directory (Pak).
    count_past_end,
    ends_before_count,
    negative_name_length,
    name_past_end,
    size_past_end,
    negative_size,
    data_past_end,
    // A model entry (Model, Mesh_record).
    header_past_end,
    name_size_past_end,
    name_size_below_1,
    mesh_name_past_end,
    name_without_nul,
    triangle_count_past_end,
    negative_triangle_count,
    triangles_past_end,
    fewer_meshes_than_counted,
    // The settings record (Cfg_record).
    other_version,
    fields_past_end,
};

// A short text for people: "is not a regular file", "negative name length" ...
const char* text(Read_reason reason);

struct Read_status {
    Read_reason reason = Read_reason::ok;
    size_t offset = 0;  // the byte where reading stopped (the end when ok)

    bool ok() const { return reason == Read_reason::ok; }
};
