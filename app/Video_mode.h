// The table of screen modes that "cfg" selects by index, and the lookups of
// its three columns: eighteen fixed sizes, and after them the desktop's own
// size, which is known only when the saver starts.
#pragma once
#include <cstdint>

struct Video_mode {
    int32_t width;
    int32_t height;
    int32_t bpp;

    // Rows 0 to 17 are fixed sizes; row 18 is every monitor at its own size
    // as the desktop has it, at 32 bits, shown without a mode change. Its
    // row holds 0 x 0: the display fills in the sizes.
    static const int32_t count = 18;
    static const int32_t desktop_index = 18;
    static const int32_t default_index = 5;

    // An index outside the table gives the default row.
    static const Video_mode& row(int32_t index);
    static bool valid(int32_t index) { return index >= 0 && index <= desktop_index; }
    static int32_t width_of(int32_t index) { return row(index).width; }
    static int32_t height_of(int32_t index) { return row(index).height; }
    static int32_t bpp_of(int32_t index) { return row(index).bpp; }

    bool is_desktop() const { return width == 0 && height == 0; }
};
