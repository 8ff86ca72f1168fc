// The header of a model entry: a marker byte (0xFF: four bytes to step over
// follow), then the mesh count. Model::read reads it, then each mesh record
// from the same cursor.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/Byte_cursor.h"

class Model_header {
public:
    // Returns the mesh count N and leaves the cursor at the first record.
    // 0 for a header that does not fit or a count of 0 or less. The count is
    // never trusted beyond what the remaining bytes could hold.
    static int32_t read(Byte_cursor& cursor);
    // The count as stored; false when the header does not fit.
    static bool read_declared(Byte_cursor& cursor, int32_t& declared);
    // The count worth reading: 0 for 0 or less, at most what `remaining`
    // bytes could hold.
    static int32_t capped(int32_t declared, size_t remaining);
};
