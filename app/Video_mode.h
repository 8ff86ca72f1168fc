// The table of the eighteen screen modes that "cfg" selects by index, and
// the lookups of its three columns.
#pragma once
#include <cstdint>

struct Video_mode {
    int32_t width;
    int32_t height;
    int32_t bpp;

    static const int32_t count = 18;
    static const int32_t default_index = 5;

    // An index outside the table gives the default row.
    static const Video_mode& row(int32_t index);
    static bool valid(int32_t index) { return index >= 0 && index < count; }
    static int32_t width_of(int32_t index) { return row(index).width; }
    static int32_t height_of(int32_t index) { return row(index).height; }
    static int32_t bpp_of(int32_t index) { return row(index).bpp; }
};
