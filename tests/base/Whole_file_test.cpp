// The whole-file reader at its cap: a file of exactly the cap is read whole,
// one byte more is refused, and so for a pack at the 1 GiB a pack may be.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/Whole_file.h"
#include "resources/Pak.h"
#include "tests/support/Temp_folder.h"

TEST(Whole_file, a_file_of_exactly_its_cap_is_read_and_one_byte_more_is_not)
{
    Temp_folder dir;
    const struct {
        size_t size, cap;
        Read_reason reason;
    } rows[] = {
        {100, 100, Read_reason::ok},     {101, 100, Read_reason::too_large},
        {0, 0, Read_reason::ok},         {1, 0, Read_reason::too_large},
        // The reading goes in chunks of 64 KiB: a file of one chunk exactly.
        {65536, 65536, Read_reason::ok}, {65537, 65536, Read_reason::too_large},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.size) + " bytes, cap " + std::to_string(row.cap));
        std::vector<uint8_t> bytes(row.size);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
        std::ofstream(dir / "f", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        std::vector<uint8_t> read = {1};
        EXPECT_EQ(Whole_file::check(dir / "f", row.cap), row.reason);
        EXPECT_EQ(Whole_file::read(dir / "f", read, row.cap), row.reason);
        EXPECT_EQ(read, row.reason == Read_reason::ok ? bytes : std::vector<uint8_t>());
    }
}

// Sparse files: a pack of 1 GiB of zeros (no entries, the rest after its
// count) reads; one byte more is refused from its size, nothing read.
TEST(Whole_file, a_pack_of_exactly_the_cap_reads_and_one_byte_more_is_refused)
{
    const size_t one_gib = size_t(1) << 30;  // what a pack may be, from outside
    Temp_folder dir;
    std::filesystem::resize_file((std::ofstream(dir / "p.pak"), dir / "p.pak"), one_gib);
    Pak at_cap;
    ASSERT_EQ(at_cap.read_file(dir / "p.pak"), Read_reason::ok);
    EXPECT_EQ(at_cap.trailing_bytes(), one_gib - 4);
    std::filesystem::resize_file(dir / "p.pak", one_gib + 1);
    Pak past;
    EXPECT_EQ(past.read_file(dir / "p.pak"), Read_reason::too_large);
}
