#include "resources/Model_header.h"

namespace {
// The smallest mesh record: name size, a one-byte name field (its NUL),
// triangle count, the unused byte.
const size_t smallest_record = 4 + 1 + 4 + 1;
}  // namespace

int32_t Model_header::read(Byte_cursor& cursor)
{
    uint8_t marker = 0;
    if (!cursor.read_u8(marker)) return 0;
    if (marker == 0xFF && !cursor.skip(4)) return 0;
    int32_t count = 0;
    if (!cursor.read_i32(count) || count <= 0) return 0;
    // More records than the bytes could hold is a lie: the caller may size
    // its storage by the result.
    size_t most = cursor.remaining() / smallest_record;
    if (size_t(count) > most) count = int32_t(most);
    return count;
}
