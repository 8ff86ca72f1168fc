// The settings record: its exact layout, the defaults, and files that are
// cut short or claim more than they hold.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "resources/Cfg_record.h"

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) s.push_back(char(v));
    return s;
}

Cfg_record read(const std::string& file, int32_t version = 1)
{
    std::istringstream in(file);
    return Cfg_record(in, version);
}

void expect_defaults(const Cfg_record& r)
{
    EXPECT_EQ(r.video_mode, 5);
    EXPECT_EQ(r.mouse_exit, 0);
    EXPECT_EQ(r.spare_value, 0);
    EXPECT_EQ(r.text1, "");
    EXPECT_EQ(r.text2, "");
    EXPECT_FALSE(r.read_from_stream());
}

const std::string example_21 =
    bytes({1, 0, 0, 0, 1, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

}  // namespace

TEST(Cfg_record, twenty_one_byte_example_selects_row_3_and_the_mouse_rule)
{
    Cfg_record r = read(example_21);
    EXPECT_TRUE(r.read_from_stream());
    EXPECT_EQ(r.video_mode, 3);
    EXPECT_EQ(r.mouse_exit, 1);
}

TEST(Cfg_record, another_format_number_gives_the_defaults)
{
    std::string file = example_21;
    file[0] = 2;
    expect_defaults(read(file));
}

TEST(Cfg_record, mouse_byte_2_is_kept_as_read_and_is_not_the_rule)
{
    std::string file = example_21;
    file[4] = 2;
    Cfg_record r = read(file);
    EXPECT_EQ(r.mouse_exit, 2);  // only 1 enables the rule (Main_loop tests)
}

TEST(Cfg_record, fields_are_little_endian_and_texts_come_text2_first)
{
    std::string file = bytes({1, 0, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 17, 0, 0, 0});
    file += bytes({2, 0, 0, 0}) + "ab" + bytes({3, 0, 0, 0}) + "xyz";
    Cfg_record r = read(file);
    ASSERT_TRUE(r.read_from_stream());
    EXPECT_EQ(r.spare_value, 0x12345678);
    EXPECT_EQ(r.video_mode, 17);
    EXPECT_EQ(r.text2, "ab");
    EXPECT_EQ(r.text1, "xyz");
}

TEST(Cfg_record, text_ends_at_its_first_zero_byte)
{
    std::string file = example_21.substr(0, 13) + bytes({4, 0, 0, 0}) + std::string("a\0bc", 4) +
                       bytes({0, 0, 0, 0});
    EXPECT_EQ(read(file).text2, "a");
}

TEST(Cfg_record, bytes_after_the_last_field_are_ignored)
{
    Cfg_record r = read(example_21 + "trailing garbage");
    EXPECT_TRUE(r.read_from_stream());
    EXPECT_EQ(r.video_mode, 3);
}

TEST(Cfg_record, every_truncation_gives_the_defaults_whole)
{
    const std::string full = example_21.substr(0, 13) + bytes({2, 0, 0, 0}) + "ab" +
                             bytes({3, 0, 0, 0}) + "xyz";
    for (size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        expect_defaults(read(full.substr(0, n)));
    }
}

TEST(Cfg_record, huge_text_length_is_refused_without_allocating_it)
{
    // 0xFFFFFFF0 bytes claimed, five present: defaults, and the read is bounded
    // by the stream (a reader that trusted the count would try 4 GiB).
    std::string file = example_21.substr(0, 13) + bytes({0xF0, 0xFF, 0xFF, 0xFF}) + "hello";
    expect_defaults(read(file));
    std::string second = example_21.substr(0, 17) + bytes({0xFF, 0xFF, 0xFF, 0x7F});
    expect_defaults(read(second));
}

TEST(Cfg_record, write_gives_the_exact_layout)
{
    Cfg_record r;
    r.mouse_exit = 1;
    r.video_mode = 3;
    std::ostringstream out;
    ASSERT_TRUE(r.write(out, 1));
    EXPECT_EQ(out.str(), example_21);
}

TEST(Cfg_record, write_then_read_round_trips_every_field)
{
    Cfg_record r;
    r.mouse_exit = 7;
    r.spare_value = -123456;
    r.video_mode = 16;
    r.text1 = "first text";
    r.text2 = "second";
    std::ostringstream out;
    ASSERT_TRUE(r.write(out, 1));
    Cfg_record back = read(out.str());
    ASSERT_TRUE(back.read_from_stream());
    EXPECT_EQ(back.mouse_exit, 7);
    EXPECT_EQ(back.spare_value, -123456);
    EXPECT_EQ(back.video_mode, 16);
    EXPECT_EQ(back.text1, "first text");
    EXPECT_EQ(back.text2, "second");
}

TEST(Cfg_record, written_format_number_must_match_the_expected_one)
{
    Cfg_record r;
    r.video_mode = 1;
    std::ostringstream out;
    r.write(out, 2);
    expect_defaults(read(out.str(), 1));
    EXPECT_EQ(read(out.str(), 2).video_mode, 1);
}
