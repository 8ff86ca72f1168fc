// A read cursor over a block of bytes that can never run past its end.
// Every reader of file bytes (packs, models, "cfg", registry text) goes
// through it: values are little-endian, read with memcpy (no alignment is
// assumed), and a read that does not fit fails, reads nothing, leaves the
// cursor where it was and sets the failure flag, so a caller may check once
// at the end or at each step.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

class Byte_cursor {
public:
    Byte_cursor() = default;
    Byte_cursor(const void* data, size_t size)
        : start(static_cast<const uint8_t*>(data)), size(data ? size : 0) {}

    size_t offset() const { return pos; }
    size_t remaining() const { return size - pos; }
    bool at_end() const { return pos == size; }
    bool failed() const { return fail; }
    // Where the next byte would be read (null for an empty block).
    const uint8_t* here() const { return start ? start + pos : nullptr; }

    bool fits(size_t n) const { return n <= remaining(); }

    bool skip(size_t n)
    {
        if (!fits(n)) return refuse();
        pos += n;
        return true;
    }
    bool read_bytes(void* out, size_t n)
    {
        if (!fits(n)) return refuse();
        if (n) std::memcpy(out, start + pos, n);
        pos += n;
        return true;
    }
    bool read_u8(uint8_t& v) { return read_bytes(&v, 1); }
    bool read_i8(int8_t& v) { return read_bytes(&v, 1); }
    bool read_u32(uint32_t& v)
    {
        uint8_t b[4];
        if (!read_bytes(b, 4)) return false;
        v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }
    bool read_i32(int32_t& v)
    {
        uint32_t u;
        if (!read_u32(u)) return false;
        std::memcpy(&v, &u, 4);
        return true;
    }
    bool read_f64(double& v)
    {
        uint8_t b[8];
        if (!read_bytes(b, 8)) return false;
        uint64_t u = 0;
        for (int i = 7; i >= 0; --i) u = u << 8 | b[i];
        std::memcpy(&v, &u, 8);
        return true;
    }

    // Reads a little-endian double at byte offset `at` of a block known to
    // hold it (callers check the block's size once, up front).
    static double f64_at(const uint8_t* block, size_t at)
    {
        double v;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        // The stored order is the machine's: one unaligned copy (drawing
        // reads every corner of every mesh this way, every frame).
        std::memcpy(&v, block + at, 8);
#else
        uint64_t u = 0;
        for (int i = 7; i >= 0; --i) u = u << 8 | block[at + i];
        std::memcpy(&v, &u, 8);
#endif
        return v;
    }

private:
    bool refuse()
    {
        fail = true;
        return false;
    }

    const uint8_t* start = nullptr;
    size_t size = 0;
    size_t pos = 0;
    bool fail = false;
};
