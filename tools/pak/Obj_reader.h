// An OBJ file and its MTL read into our kind of meshes: one mesh per
// material, in the order the faces first use them, every face cut into
// triangles (a fan from its first corner). The files are read through the
// one bounded whole-file reader and parsed by tinyobjloader, after
// Obj_check has refused what the parser would take silently (numbers it
// would coerce); every index is checked against its array before it is
// used. The model format has no normals, so normal indices are only
// checked.
//
// OBJ files come from strangers and their pictures end up in packs that
// are shared: an mtllib or map_Kd name must stay inside the OBJ's folder
// (not absolute, no ".." part, no symbolic link on the way), unless the
// caller allows names outside.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Read_status.h"

class Obj_reader {
public:
    struct Mesh {
        std::string material;      // the MTL's name, %XX decoded
        std::string texture_path;  // map_Kd against the MTL's folder; empty for none
        std::vector<double> positions;  // 9 a triangle
        std::vector<double> texcoords;  // 6 a triangle
    };

    // Reads one file named by the OBJ (an MTL) into bytes.
    using File_source = std::function<Read_reason(const std::string& path, std::vector<uint8_t>& bytes)>;

    // False when the files cannot be read as a model; problem_file and
    // problem then say which file and what is wrong, in one line.
    bool read(const std::string& obj_path, double scale, bool allow_outside);
    // The same for an OBJ text in memory that stands at obj_path, its MTL
    // files read through `mtl_files`.
    bool parse(const std::string& obj_text, const std::string& obj_path, double scale, bool allow_outside,
               const File_source& mtl_files);

    std::vector<Mesh> meshes;
    std::string problem_file;
    std::string problem;

    // OBJ and MTL files larger than this are not read.
    static constexpr size_t max_file_size = size_t(1) << 30;

private:
    bool refuse(const std::string& file, const std::string& what);
};
