// The writing side of Byte_cursor: appends little-endian values to a block
// of bytes whatever the machine's order, so every writer of our files
// (packs, models, "cfg") stores the layout the readers expect.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class Byte_writer {
public:
    explicit Byte_writer(std::vector<uint8_t>& block) : out(block) {}

    void u8(uint8_t v) { out.push_back(v); }
    void u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
    }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f64(double d)
    {
        uint64_t u;
        std::memcpy(&u, &d, 8);
        for (int i = 0; i < 8; ++i) out.push_back(uint8_t(u >> (8 * i)));
    }
    void bytes(const void* data, size_t n)
    {
        const uint8_t* b = static_cast<const uint8_t*>(data);
        if (n) out.insert(out.end(), b, b + n);
    }
    void text(const std::string& s) { bytes(s.data(), s.size()); }

    // Overwrites four bytes at `at` of a block that already holds them (a
    // count known only at the end; tests that break a field on purpose).
    static void u32_at(std::vector<uint8_t>& block, size_t at, uint32_t v)
    {
        for (size_t i = 0; i < 4 && at + i < block.size(); ++i) block[at + i] = uint8_t(v >> (8 * i));
    }

private:
    std::vector<uint8_t>& out;
};
