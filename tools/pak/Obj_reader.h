// An OBJ file and its MTL read into our kind of meshes: one mesh per
// material, in the order the faces first use them, every face cut into
// triangles (a fan from its first corner). The files are read through the
// one bounded whole-file reader and parsed by tinyobjloader; every index is
// checked against its array before it is used. The model format has no
// normals, so normal indices are only checked.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class Obj_reader {
public:
    struct Mesh {
        std::string material;      // the MTL's name, %XX decoded
        std::string texture_path;  // map_Kd against the MTL's folder; empty for none
        std::vector<double> positions;  // 9 a triangle
        std::vector<double> texcoords;  // 6 a triangle
    };

    // False when the files cannot be read as a model; problem_file and
    // problem then say which file and what is wrong, in one line.
    bool read(const std::string& obj_path, double scale);

    std::vector<Mesh> meshes;
    std::string problem_file;
    std::string problem;

    // OBJ and MTL files larger than this are not read.
    static constexpr size_t max_file_size = size_t(1) << 30;

private:
    bool refuse(const std::string& file, const std::string& what);
};
