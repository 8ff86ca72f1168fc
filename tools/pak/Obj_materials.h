// The materials an OBJ's faces use, read from the MTL files it names
// (mtllib): each with its picture (map_Kd, parsed by tinyobjloader, then
// backslashes taken as folder separators) and its colour (Kd). Only the
// materials the faces use are kept (an MTL may name millions); a name no
// MTL defines, and faces with none ("default"), make a material without a
// picture or a colour. An MTL leading out of the OBJ's folder is refused
// unless allowed (Obj_path), and so is one that is not UTF-8 text.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/Read_status.h"

class Obj_materials {
public:
    struct Material {
        std::string name, texture;
        std::string folder;        // of the MTL file it came from
        std::string inner_folder;  // the same below the OBJ's folder
        bool defined = false;      // by a newmtl line (else a usemtl came first)
        bool has_diffuse = false;
        double diffuse[3] = {0, 0, 0};
    };
    // Reads one file named by the OBJ (an MTL) into bytes.
    using File_source = std::function<Read_reason(const std::string& path, std::vector<uint8_t>& bytes)>;

    Obj_materials(const std::string& obj_folder, bool allow_outside, const File_source& files,
                  std::set<std::string> used);

    // The names of an mtllib line: the first that reads serves. False with
    // problem_file and problem set.
    bool library(std::string_view rest);
    // The material of that name ("default" for none), found or else added
    // without a picture or a colour.
    size_t named(const std::string& name);
    const Material& operator[](size_t index) const { return materials[index]; }

    std::string problem_file;
    std::string problem;

private:
    bool refuse(const std::string& file, const std::string& what);
    // `there` is set when the file was read (its text may still be refused).
    bool read_library(const std::string& name, bool* there = nullptr);
    bool read_materials(const std::vector<uint8_t>& bytes, const std::string& path, const std::string& name);

    std::string obj_folder;
    bool allow_outside;
    const File_source& files;
    std::set<std::string> used;        // by the faces (Obj_check)
    std::set<std::string> libraries;  // mtllib names read
    std::vector<Material> materials;
    std::map<std::string, size_t> index_of;
};
