// The table of screen modes that "cfg" indexes.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/Video_mode.h"

TEST(Video_mode, row_3_is_800_by_600_at_32_bits)
{
    EXPECT_EQ(Video_mode::width_of(3), 800);
    EXPECT_EQ(Video_mode::height_of(3), 600);
    EXPECT_EQ(Video_mode::bpp_of(3), 32);
}

TEST(Video_mode, row_18_is_the_desktop_at_32_bits_and_the_fixed_rows_are_not)
{
    EXPECT_TRUE(Video_mode::row(18).is_desktop());
    EXPECT_EQ(Video_mode::bpp_of(18), 32);
    EXPECT_TRUE(Video_mode::valid(18));
    for (int32_t i = 0; i < Video_mode::count; ++i) EXPECT_FALSE(Video_mode::row(i).is_desktop()) << i;
}

TEST(Video_mode, index_outside_the_table_gives_the_default_row)
{
    for (int32_t bad : {-1, 19, 1000, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Video_mode::width_of(bad), 1024);
        EXPECT_EQ(Video_mode::height_of(bad), 768);
        EXPECT_EQ(Video_mode::bpp_of(bad), 32);
    }
    EXPECT_EQ(Video_mode::width_of(17), 1600);
    EXPECT_EQ(Video_mode::bpp_of(0), 16);
}
