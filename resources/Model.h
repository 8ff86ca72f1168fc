// A model entry read whole, without GL: the header, then every mesh record
// it counts, as far as they fit. The one reader of models: the scene, `pak`,
// the tests, the fuzz target and the benchmark all go through it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Read_status.h"
#include "resources/Mesh_record.h"

class Model {
public:
    // Never trusts the header's count: reading ends at the first record that
    // does not fit, keeping the complete ones before it.
    static Model read(const uint8_t* data, size_t size);

    bool has_header = false;  // the marker and the mesh count fit
    int32_t declared = 0;     // the header's mesh count, as stored
    std::vector<Mesh_record> meshes;
    // ok: every counted record was read (a count of 0 or less reads none);
    // fewer_meshes_than_counted: the entry ends before a counted record
    // starts (cut short); otherwise what stopped the reading and where. A
    // failed record is meshes.size(), the first one not kept.
    Read_status status;

    // Every counted mesh read and no byte left over.
    bool read_to_end(size_t size) const { return status.ok() && declared > 0 && status.offset == size; }
};
