// The pack reader and writer: the format byte for byte, bounded reading of
// bad files, the writer's refusals, extraction.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "resources/Pak.h"
#include "tests/support/Test_packs.h"
#include "base/Byte_writer.h"
#include "tests/support/Temp_folder.h"

namespace fs = std::filesystem;

namespace {
std::vector<uint8_t> bytes_of(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

void put_i32(std::vector<uint8_t>& out, int32_t v) { Byte_writer(out).i32(v); }

}  // namespace

TEST(Pak_format, tree_pack_of_ten_bytes_is_23_bytes_and_reads_back)
{
    std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<uint8_t> file = Test_packs::pack_bytes({{"tree", data}});
    ASSERT_EQ(file.size(), 23u);
    Pak p;
    p.read_bytes(file.data(), file.size());
    EXPECT_EQ(p.status().reason, Read_reason::ok);
    Pak_entry e = p.find("tree");
    ASSERT_FALSE(e.empty());
    ASSERT_EQ(e.size, 10);
    EXPECT_EQ(0, std::memcmp(e.data, data.data(), 10));
}

TEST(Pak_format, saved_pack_is_byte_identical_to_the_format)
{
    Temp_folder dir("gardenlume_pak_");
    Pak p;
    ASSERT_TRUE(p.add_data("tree", "0123456789", 10));
    ASSERT_TRUE(p.save(dir / "t.pak").ok());
    EXPECT_EQ(Test_files::bytes(dir / "t.pak"), Test_packs::pack_bytes({{"tree", bytes_of("0123456789")}}));
}

TEST(Pak_format, zero_or_negative_count_is_an_empty_pack)
{
    for (int32_t count : {0, -1, INT32_MIN}) {
        std::vector<uint8_t> file;
        put_i32(file, count);
        Pak p;
        p.read_bytes(file.data(), file.size());
        EXPECT_EQ(p.entry_count(), 0);
        EXPECT_TRUE(p.find("").empty());
        EXPECT_TRUE(p.find("tree").empty());
    }
}

TEST(Pak_format, duplicate_names_always_give_the_first_entry)
{
    std::vector<uint8_t> file = Test_packs::pack_bytes({{"a", bytes_of("first")}, {"a", bytes_of("second!")}});
    Pak p;
    p.read_bytes(file.data(), file.size());
    ASSERT_EQ(p.entry_count(), 2);
    EXPECT_EQ(p.find("a").size, 5);
}

TEST(Pak_format, names_are_case_sensitive_and_empty_name_is_valid)
{
    std::vector<uint8_t> file = Test_packs::pack_bytes({{"tree", bytes_of("x")}, {"", bytes_of("yy")}});
    Pak p;
    p.read_bytes(file.data(), file.size());
    EXPECT_TRUE(p.find("Tree").empty());
    EXPECT_TRUE(p.find("tree ").empty());
    EXPECT_EQ(p.find("").size, 2);
}

TEST(Pak_format, name_with_embedded_nul_is_known_by_its_first_part)
{
    std::string stored("ab\0cd", 5);
    std::vector<uint8_t> file = Test_packs::pack_bytes({{stored, bytes_of("z")}});
    Pak p;
    p.read_bytes(file.data(), file.size());
    EXPECT_FALSE(p.find("ab").empty());
    EXPECT_TRUE(p.find(stored).empty());
}

TEST(Pak_format, size_zero_entry_is_found_with_size_zero)
{
    std::vector<uint8_t> file = Test_packs::pack_bytes({{"empty", {}}, {"next", bytes_of("n")}});
    Pak p;
    p.read_bytes(file.data(), file.size());
    Pak_entry e = p.find("empty");
    EXPECT_FALSE(e.empty());
    EXPECT_EQ(e.size, 0);
    EXPECT_EQ(p.find("next").size, 1);
}

TEST(Pak_format, trailing_bytes_after_the_last_record_are_ignored)
{
    std::vector<uint8_t> file = Test_packs::pack_bytes({{"a", bytes_of("abc")}});
    file.insert(file.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    Pak p;
    p.read_bytes(file.data(), file.size());
    EXPECT_EQ(p.entry_count(), 1);
    EXPECT_EQ(p.status().reason, Read_reason::ok);
}

TEST(Pak_bounded_reading, truncated_pack_keeps_complete_entries)
{
    std::vector<uint8_t> full =
        Test_packs::pack_bytes({{"one", bytes_of("1111")}, {"two", bytes_of("2222")}, {"three", bytes_of("3333")}});
    // Every cut inside the third record keeps exactly the first two.
    size_t third = 4 + 2 * (1 + 3 + 4 + 4);
    for (size_t cut = third; cut < full.size(); ++cut) {
        Pak p;
        p.read_bytes(full.data(), cut);
        EXPECT_EQ(p.entry_count(), 2) << "cut at " << cut;
        EXPECT_EQ(p.find("two").size, 4);
        EXPECT_TRUE(p.find("three").empty());
        // The length byte, the five name bytes, the size, then the data.
        const Read_reason want = cut == third                ? Read_reason::ends_before_count
                                 : cut < third + 1 + 5       ? Read_reason::name_past_end
                                 : cut < third + 1 + 5 + 4   ? Read_reason::size_past_end
                                                             : Read_reason::data_past_end;
        EXPECT_EQ(p.status().reason, want) << "cut at " << cut;
    }
}

TEST(Pak_bounded_reading, count_larger_than_the_file_reads_what_is_there)
{
    std::vector<uint8_t> file = Test_packs::pack_bytes({{"a", bytes_of("x")}});
    file[0] = 0xFF;
    file[1] = 0xFF;
    file[2] = 0xFF;
    file[3] = 0x7F;  // INT32_MAX entries claimed
    Pak p;
    p.read_bytes(file.data(), file.size());
    EXPECT_EQ(p.entry_count(), 1);
    EXPECT_EQ(p.status().reason, Read_reason::ends_before_count);
    EXPECT_EQ(p.status().offset, file.size());
}

TEST(Pak_bounded_reading, negative_name_length_stops_reading)
{
    std::vector<uint8_t> file = Test_packs::pack_bytes({{"a", bytes_of("x")}});
    file[0] = 2;               // two entries claimed
    file.push_back(0x80);      // name length -128
    Pak p;
    p.read_bytes(file.data(), file.size());
    EXPECT_EQ(p.entry_count(), 1);
    EXPECT_EQ(p.status().reason, Read_reason::negative_name_length);
    EXPECT_EQ(p.status().offset, file.size() - 1);
}

TEST(Pak_bounded_reading, negative_or_oversized_data_size_allocates_nothing)
{
    for (int32_t size : {-1, INT32_MIN, INT32_MAX, 6}) {
        std::vector<uint8_t> file;
        put_i32(file, 1);
        file.push_back(1);
        file.push_back('a');
        put_i32(file, size);
        file.insert(file.end(), 5, 0);  // five bytes where the size claims more
        Pak p;
        p.read_bytes(file.data(), file.size());
        EXPECT_EQ(p.entry_count(), 0) << size;
        EXPECT_EQ(p.status().reason, size < 0 ? Read_reason::negative_size : Read_reason::data_past_end) << size;
    }
}

TEST(Pak_bounded_reading, missing_file_is_a_failure_for_tools)
{
    Pak p;
    EXPECT_EQ(p.read_file("/nonexistent/gardenlume/x.pak"), Read_reason::missing);
}

TEST(Pak_bounded_reading, directory_or_device_is_not_read_as_a_pack)
{
    // A directory's stream claims an endless size: reading it would try to
    // allocate all of it.
    Pak p;
    EXPECT_EQ(p.read_file("/tmp"), Read_reason::not_regular);
    EXPECT_EQ(p.read_file("/dev/zero"), Read_reason::not_regular);
#ifndef _WIN32
    // A FIFO with no writer would block an ordinary open for ever.
    const std::string fifo = "/tmp/gardenlume_pak_fifo_" + std::to_string(getpid());
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    EXPECT_EQ(p.read_file(fifo), Read_reason::not_regular);
    unlink(fifo.c_str());
#endif
    EXPECT_FALSE(p.add_file("/tmp"));
    EXPECT_EQ(p.entry_count(), 0);
}

TEST(Pak_writer, save_and_open_round_trip_keeps_names_sizes_bytes_and_order)
{
    Temp_folder dir("gardenlume_pak_");
    Pak p;
    std::vector<uint8_t> big(70000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7);
    ASSERT_TRUE(p.add_data("b", big.data(), int32_t(big.size())));
    ASSERT_TRUE(p.add_data("a", "", 0));
    ASSERT_TRUE(p.add_data(std::string(127, 'n'), "q", 1));
    ASSERT_TRUE(p.save(dir / "r.pak").ok());
    Pak q;
    ASSERT_EQ(q.read_file(dir / "r.pak"), Read_reason::ok);
    EXPECT_EQ(q.status().reason, Read_reason::ok);
    ASSERT_EQ(q.entry_count(), 3);
    EXPECT_EQ(q.name(0), "b");
    EXPECT_EQ(q.name(1), "a");
    EXPECT_EQ(q.name(2), std::string(127, 'n'));
    ASSERT_EQ(q.entry(0).size, 70000);
    EXPECT_EQ(0, std::memcmp(q.entry(0).data, big.data(), big.size()));
    EXPECT_EQ(q.entry(1).size, 0);
}

TEST(Pak_writer, add_data_keeps_a_copy_not_the_callers_block)
{
    char block[4] = {'a', 'b', 'c', 'd'};
    Pak p;
    ASSERT_TRUE(p.add_data("x", block, 4));
    block[0] = 'Z';
    Pak_entry e = p.find("x");
    EXPECT_NE(static_cast<const void*>(e.data), static_cast<const void*>(block));
    EXPECT_EQ(e.data[0], 'a');
}

TEST(Pak_writer, names_longer_than_127_bytes_are_refused)
{
    Temp_folder dir("gardenlume_pak_");
    Pak p;
    EXPECT_FALSE(p.add_data(std::string(128, 'n'), "q", 1));
    EXPECT_FALSE(p.add_data(std::string(255, 'n'), "q", 1));
    std::string long_path = dir.path + "" + std::string(130, 'f');
    { std::ofstream(long_path) << "data"; }
    EXPECT_FALSE(p.add_file(long_path));
    EXPECT_EQ(p.entry_count(), 0);
}

TEST(Pak_writer, add_file_of_an_unreadable_file_fails)
{
    Pak p;
    EXPECT_FALSE(p.add_file("/nonexistent/gardenlume/file"));
    EXPECT_EQ(p.entry_count(), 0);
}

TEST(Pak_writer, add_file_names_the_entry_by_the_path_as_given)
{
    Temp_folder dir("gardenlume_pak_");
    std::string path = dir / "bark.png";
    { std::ofstream(path, std::ios::binary) << "pixels"; }
    Pak p;
    ASSERT_TRUE(p.add_file(path));
    EXPECT_EQ(p.name(0), path);
    EXPECT_EQ(p.find(path).size, 6);
}

TEST(Pak_writer, save_to_an_unwritable_path_reports_failure)
{
    Pak p;
    p.add_data("a", "x", 1);
    EXPECT_FALSE(p.save("/nonexistent/gardenlume/out.pak").ok());
}

TEST(Pak_extract, entries_land_at_prefix_plus_name)
{
    Temp_folder dir("gardenlume_pak_");
    Pak p;
    p.add_data("a", "AA", 2);
    p.add_data("b", "", 0);
    ASSERT_TRUE(p.extract_all(dir.path + "out_"));
    EXPECT_EQ(Test_files::bytes(dir / "out_a"), bytes_of("AA"));
    EXPECT_TRUE(fs::exists(dir / "out_b"));
    EXPECT_EQ(fs::file_size(dir / "out_b"), 0u);
}

TEST(Pak_extract, folders_in_entry_names_are_created)
{
    Temp_folder dir("gardenlume_pak_");
    Pak p;
    p.add_data("textures/bark.png", "PNG", 3);
    ASSERT_TRUE(p.extract_all(dir.path + "out/"));
    EXPECT_EQ(Test_files::bytes(dir / "out/textures/bark.png"), bytes_of("PNG"));
}

TEST(Pak_extract, names_escaping_the_prefix_folder_are_refused)
{
    Temp_folder dir("gardenlume_pak_");
    fs::create_directory(dir / "out");
    Pak p;
    p.add_data("../escaped", "x", 1);
    p.add_data("a/../../escaped2", "x", 1);
    p.add_data("/tmp/gardenlume_absolute_escape", "x", 1);
    p.add_data("good", "g", 1);
    EXPECT_FALSE(p.extract_all(dir.path + "out/"));
    EXPECT_FALSE(fs::exists(dir / "escaped"));
    EXPECT_FALSE(fs::exists(dir / "escaped2"));
    EXPECT_FALSE(fs::exists("/tmp/gardenlume_absolute_escape"));
    EXPECT_TRUE(fs::exists(dir / "out/good"));  // the others are still written
}

TEST(Pak_extract, names_with_dots_that_stay_inside_are_allowed)
{
    EXPECT_TRUE(Pak::safe_entry_path("a..b"));
    EXPECT_TRUE(Pak::safe_entry_path("..a/b"));
    EXPECT_TRUE(Pak::safe_entry_path("textures/bark.png"));
    EXPECT_FALSE(Pak::safe_entry_path(".."));
    EXPECT_FALSE(Pak::safe_entry_path("a\\..\\b"));
    EXPECT_FALSE(Pak::safe_entry_path("C:x"));
}
