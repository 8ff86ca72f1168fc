#include "resources/Model_writer.h"

#include <cstring>

namespace {
void put_u32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void put_f64(std::vector<uint8_t>& out, double d)
{
    uint64_t u;
    std::memcpy(&u, &d, 8);
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(u >> (8 * i)));
}
}  // namespace

void Model_writer::begin_mesh(const std::string& texture_name)
{
    meshes.push_back(Mesh_data{texture_name, {}, {}});
}

void Model_writer::add_triangle(const double positions[9], const double texcoords[6])
{
    if (meshes.empty()) begin_mesh("");
    Mesh_data& m = meshes.back();
    m.positions.insert(m.positions.end(), positions, positions + 9);
    m.texcoords.insert(m.texcoords.end(), texcoords, texcoords + 6);
}

size_t Model_writer::triangle_count() const
{
    size_t n = 0;
    for (const Mesh_data& m : meshes) n += m.positions.size() / 9;
    return n;
}

std::vector<uint8_t> Model_writer::bytes(bool long_header) const
{
    std::vector<uint8_t> out;
    if (long_header) {
        out.push_back(0xFF);
        put_u32(out, 0);
    } else {
        out.push_back(0);
    }
    put_u32(out, uint32_t(meshes.size()));
    for (const Mesh_data& m : meshes) {
        // The name field counts its terminating NUL.
        put_u32(out, uint32_t(m.texture_name.size() + 1));
        out.insert(out.end(), m.texture_name.begin(), m.texture_name.end());
        out.push_back(0);
        put_u32(out, uint32_t(m.positions.size() / 9));
        out.push_back(0);  // the byte the reader steps over
        for (double d : m.positions) put_f64(out, d);
        for (double d : m.texcoords) put_f64(out, d);
    }
    return out;
}
