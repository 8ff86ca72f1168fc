// Feeds raw bytes to the model reader as a model entry, the way
// Node::load_model reads one, and touches every double of every mesh read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/Model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A private copy of exactly size bytes, so any read past it is caught.
    std::vector<uint8_t> entry(data, data + size);
    const Model model = Model::read(entry.data(), entry.size());
    volatile double sum = 0;
    for (const Mesh_record& m : model.meshes) {
        for (int32_t t = 0; t < m.triangle_count; ++t)
            for (size_t k = 0; k < 3; ++k) {
                const Mesh_record::Corner c = m.corner(t, k);
                sum = sum + c.x + c.y + c.z + c.u + c.v;
            }
        for (const char* p = m.texture_name; *p; ++p) sum = sum + *p;
    }
    return 0;
}
