#include "tests/support/Test_models.h"

#include <gtest/gtest.h>

#include "resources/Model.h"
#include "resources/Pak_cache.h"

namespace {
Test_models::Loaded read_bytes(const uint8_t* data, size_t size, const char* pack)
{
    Test_models::Loaded loaded;
    const Model model = Model::read(data, size);
    for (const Mesh_record& record : model.meshes) loaded.meshes.emplace_back(record, pack);
    loaded.read_to_end = model.read_to_end(size);
    return loaded;
}
}  // namespace

int Test_models::Loaded::triangles() const
{
    int n = 0;
    for (const Mesh& m : meshes) n += m.triangle_count;
    return n;
}

Test_models::Loaded Test_models::read(const std::vector<uint8_t>& entry, const char* pack)
{
    return read_bytes(entry.data(), entry.size(), pack);
}

Test_models::Loaded Test_models::load(const std::string& pack, const std::string& entry)
{
    Pak_entry bytes = pak_cache.model_bytes(pack, entry);
    if (bytes.empty()) {
        ADD_FAILURE() << pack << " has no " << entry;
        return Loaded();
    }
    return read_bytes(bytes.data, size_t(bytes.size), pack.c_str());
}
