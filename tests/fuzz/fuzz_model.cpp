// Feeds raw bytes to the model reader as a model entry, the way
// Node::load_model reads one, and touches every double of every mesh read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/Mesh.h"
#include "resources/Model_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A private copy of exactly size bytes, so any read past it is caught.
    std::vector<uint8_t> entry(data, data + size);
    Byte_cursor c(entry.data(), entry.size());
    int32_t n = Model_header::read(c);
    volatile double sum = 0;
    for (int32_t i = 0; i < n; ++i) {
        Mesh m;
        if (!m.read_record(c)) break;
        for (size_t k = 0; k < size_t(m.triangle_count) * 9; ++k) sum = sum + Byte_cursor::f64_at(m.positions, 8 * k);
        for (size_t k = 0; k < size_t(m.triangle_count) * 6; ++k) sum = sum + Byte_cursor::f64_at(m.texcoords, 8 * k);
        for (const char* p = m.texture_name; *p; ++p) sum = sum + *p;
    }
    return 0;
}
