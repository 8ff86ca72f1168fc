// The first reading of an OBJ text, before anything is built from it: every
// number of a v, vt, vn and f line is checked whole (a finite decimal, still
// finite once positions are scaled; an index an int holds, not 0), and what
// the file holds is counted, so that the reader sizes its arrays once and a
// model too large for a pack is refused before it is made. Of a line only
// its counts are kept.
#pragma once
#include <cstddef>
#include <set>
#include <string>
#include <string_view>

class Obj_text;

class Obj_check {
public:
    // False with `problem` set ("line N: ...") at the first bad line.
    bool check(const char* text, size_t size, double scale);

    std::string problem;
    size_t positions = 0, texcoords = 0, normals = 0;  // v, vt and vn lines
    size_t faces = 0;      // faces of 3 corners or more; the others are dropped
    size_t corners = 0;    // the corners of those faces
    size_t triangles = 0;  // corners - 2 a face: each is cut into a fan
    // The materials faces are drawn with (usemtl): only these are taken
    // from the MTL files.
    std::set<std::string> materials;

private:
    bool line(const Obj_text& text, double scale);
    bool coordinates(std::string_view keyword, std::string_view rest, size_t number, double scale);
    bool face(std::string_view rest, size_t number);
    bool refuse(size_t number, const std::string& what);

    std::string material;  // the usemtl in force
    bool has_material = false;
    bool material_counted = false;  // in `materials` already
};
