// Builds the bytes of a model entry: the header, then one mesh record per
// texture with its triangles' positions and texture coordinates as
// little-endian doubles. The authoring side of Model_header and Mesh::parse,
// used by the asset builder, the pak tool's tests and the test packs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Model_writer {
public:
    // Starts a new mesh drawn with texture_name (flags included, such as
    // "#$glow.png"); the triangles added next belong to it.
    void begin_mesh(const std::string& texture_name);
    // One triangle: corners 0, 1, 2 as x, y, z each, and as u, v each.
    void add_triangle(const double positions[9], const double texcoords[6]);

    // The model entry. With long_header the marker is 0xFF and four unused
    // bytes follow it; otherwise the marker is 0.
    std::vector<uint8_t> bytes(bool long_header = false) const;

    size_t mesh_count() const { return meshes.size(); }
    size_t triangle_count() const;

    // A model entry laid out before its triangles are known, for a writer
    // that has them elsewhere already (pak's OBJ import, which would
    // otherwise hold every triangle twice more): every header written, room
    // left for the triangles, and where each mesh's positions and texture
    // coordinates go. put() writes doubles there and moves on.
    struct Layout {
        std::vector<uint8_t> bytes;
        std::vector<size_t> positions;
        std::vector<size_t> texcoords;
    };
    // The entry's size for meshes of these names and triangle counts.
    static size_t size_of(const std::vector<std::string>& names, const std::vector<size_t>& triangles);
    static Layout layout(const std::vector<std::string>& names, const std::vector<size_t>& triangles,
                         bool long_header = false);
    static void put(std::vector<uint8_t>& bytes, size_t& at, const double* values, size_t count);

private:
    struct Mesh_data {
        std::string texture_name;
        std::vector<double> positions;
        std::vector<double> texcoords;
    };
    std::vector<Mesh_data> meshes;
};
