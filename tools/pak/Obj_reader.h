// An OBJ file and its MTL read into our kind of meshes: one mesh per
// material, in the order the faces first use them, every face cut into
// triangles (a fan from its first corner). The OBJ is read twice where it
// lies: Obj_check refuses what would be read wrongly and counts what the
// file holds, then the arrays are sized once and filled. Faces keep their
// corners' indices, so memory follows the file, not the triangles; the fan
// is cut only when the model is written (each_triangle). Every index is
// checked against the lines before it (a relative one) or in the file (an
// absolute one) before it is kept. The model format has no normals, so
// normal indices are only checked. The materials come from Obj_materials.
// A UTF-8 byte-order mark is skipped; UTF-16 is refused,
// also without its mark. Texture v is turned (1 - v): OBJ files run it up
// the picture, packs down.
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
#include <string_view>
#include <vector>

#include "base/Read_status.h"
#include "tools/pak/Obj_materials.h"

class Obj_reader {
public:
    struct Mesh {
        std::string material;      // the MTL's name, %XX decoded
        std::string texture_path;  // map_Kd against the MTL's folder; empty for none
        size_t triangles = 0;
        bool has_diffuse = false;        // Kd given
        double diffuse[3] = {0, 0, 0};  // its R, G, B, each 0 to 1
    };
    // One triangle of a fan: its mesh, and each corner's position (x, y, z,
    // scaled) and texture coordinate (u, v, v turned to run down the
    // picture as packs hold it; 0, 1 when the corner has none).
    struct Triangle {
        size_t mesh;
        const double* position[3];
        const double* texcoord[3];
    };

    // Reads one file named by the OBJ (an MTL) into bytes.
    using File_source = Obj_materials::File_source;

    // False when the files cannot be read as a model; problem_file and
    // problem then say which file and what is wrong, in one line. A model
    // of more than max_triangles is refused before anything is built.
    bool read(const std::string& obj_path, double scale, bool allow_outside, size_t max_triangles = SIZE_MAX);
    // The same for an OBJ text in memory that stands at obj_path, its MTL
    // files read through `mtl_files`.
    bool parse(const char* text, size_t size, const std::string& obj_path, double scale, bool allow_outside,
               const File_source& mtl_files, size_t max_triangles = SIZE_MAX);

    // Every triangle of every face, in the order of the file.
    void each_triangle(const std::function<void(const Triangle&)>& visit) const;

    std::vector<Mesh> meshes;
    std::string problem_file;
    std::string problem;

    // OBJ and MTL files larger than this are not read.
    static constexpr size_t max_file_size = size_t(1) << 30;

private:
    struct Corner {
        uint32_t position;
        int32_t texcoord;  // -1: none
    };
    struct Face {
        uint32_t corners;
        uint32_t mesh;
    };
    // One parse's state besides the text and the arrays (Obj_reader.cpp).
    struct Reading;

    bool refuse(const std::string& file, const std::string& what);
    bool line(std::string_view text, size_t number, Reading& r);
    bool face(std::string_view rest, size_t number, Reading& r);
    bool mesh_for(Reading& r, uint32_t& mesh);

    std::vector<double> positions;  // 3 a v line, scaled
    std::vector<double> texcoords;  // 2 a vt line, v turned
    std::vector<Face> faces;        // of 3 corners or more, in the order of the file
    std::vector<Corner> corners;    // each face's in turn
};
