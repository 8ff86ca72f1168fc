#include "resources/Model_writer.h"

#include <cstring>

#include "resources/Mesh_record.h"

namespace {
void put_u32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
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

namespace {
const size_t mesh_header_fixed = 4 + 1 + 4 + 1;  // name size, the name's NUL, count, the skipped byte
const size_t triangle_bytes = Mesh_record::position_bytes + Mesh_record::texcoord_bytes;
}  // namespace

size_t Model_writer::size_of(const std::vector<std::string>& names, const std::vector<size_t>& triangles)
{
    size_t size = 1 + 4;
    for (size_t i = 0; i < names.size(); ++i)
        size += mesh_header_fixed + names[i].size() + triangle_bytes * triangles[i];
    return size;
}

Model_writer::Layout Model_writer::layout(const std::vector<std::string>& names, const std::vector<size_t>& triangles,
                                          bool long_header)
{
    Layout l;
    l.bytes.reserve(size_of(names, triangles) + (long_header ? 4 : 0));
    std::vector<uint8_t>& out = l.bytes;
    if (long_header) {
        out.push_back(0xFF);
        put_u32(out, 0);
    } else {
        out.push_back(0);
    }
    put_u32(out, uint32_t(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        // The name field counts its terminating NUL.
        put_u32(out, uint32_t(names[i].size() + 1));
        out.insert(out.end(), names[i].begin(), names[i].end());
        out.push_back(0);
        put_u32(out, uint32_t(triangles[i]));
        out.push_back(0);  // the byte the reader steps over
        l.positions.push_back(out.size());
        l.texcoords.push_back(out.size() + Mesh_record::position_bytes * triangles[i]);
        out.resize(out.size() + triangle_bytes * triangles[i]);
    }
    return l;
}

void Model_writer::put(std::vector<uint8_t>& bytes, size_t& at, const double* values, size_t count)
{
    for (size_t k = 0; k < count; ++k, at += 8) {
        uint64_t u;
        std::memcpy(&u, &values[k], 8);
        for (size_t i = 0; i < 8; ++i) bytes[at + i] = uint8_t(u >> (8 * i));
    }
}

std::vector<uint8_t> Model_writer::bytes(bool long_header) const
{
    std::vector<std::string> names;
    std::vector<size_t> triangles;
    for (const Mesh_data& m : meshes) {
        names.push_back(m.texture_name);
        triangles.push_back(m.positions.size() / 9);
    }
    Layout l = layout(names, triangles, long_header);
    for (size_t i = 0; i < meshes.size(); ++i) {
        put(l.bytes, l.positions[i], meshes[i].positions.data(), meshes[i].positions.size());
        put(l.bytes, l.texcoords[i], meshes[i].texcoords.data(), meshes[i].texcoords.size());
    }
    return std::move(l.bytes);
}
