#include "resources/Model_header.h"

namespace {
// The smallest mesh record: name size, a one-byte name field (its NUL),
// triangle count, the unused byte.
const size_t smallest_record = 4 + 1 + 4 + 1;
}  // namespace

bool Model_header::read_declared(Byte_cursor& cursor, int32_t& declared)
{
    uint8_t marker = 0;
    if (!cursor.read_u8(marker)) return false;
    if (marker == 0xFF && !cursor.skip(4)) return false;
    return cursor.read_i32(declared);
}

int32_t Model_header::capped(int32_t declared, size_t remaining)
{
    if (declared <= 0) return 0;
    // More records than the bytes could hold is a lie: the caller may size
    // its storage by the result.
    const size_t most = remaining / smallest_record;
    return size_t(declared) > most ? int32_t(most) : declared;
}

int32_t Model_header::read(Byte_cursor& cursor)
{
    int32_t declared = 0;
    if (!read_declared(cursor, declared)) return 0;
    return capped(declared, cursor.remaining());
}
