// The header of a model entry: a marker byte (0xFF: four bytes to step over
// follow), then the mesh count. Node::load_model reads it, then lets each
// Mesh parse its record from the same cursor.
#pragma once
#include <cstdint>

#include "resources/Byte_cursor.h"

class Model_header {
public:
    // Returns the mesh count N and leaves the cursor at the first record.
    // 0 for a header that does not fit or a count of 0 or less. The count is
    // never trusted beyond what the remaining bytes could hold.
    static int32_t read(Byte_cursor& cursor);
};
