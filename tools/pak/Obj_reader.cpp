#include "tools/pak/Obj_reader.h"

#include <tiny_obj_loader.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "base/Whole_file.h"
#include "tools/pak/Obj_check.h"
#include "tools/pak/Obj_name.h"

namespace {
std::string folder_of(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string against(const std::string& folder, const std::string& name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) return name;
    return folder + name;
}

// Empty when `name`, taken against the OBJ's folder, stays inside it: not
// absolute (nor a Windows drive), no ".." part, and no part on the way a
// symbolic link (which may lead anywhere); else why not.
std::string leaves_folder(const std::string& folder, const std::string& name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'))
        return "is an absolute path";
    std::string path = folder, part;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != '/' && name[i] != '\\') {
            part += name[i];
            continue;
        }
        if (part == "..") return "has a \"..\" part";
        if (part.empty() || part == ".") continue;
        path += part;
        std::error_code ec;
        if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::symlink)
            return "meets a symbolic link";
        path += '/';
        part.clear();
    }
    return "";
}

std::string outside_text(const std::string& why)
{
    return why + ", which leads out of the OBJ's folder (--allow-outside reads it)";
}

std::string first_line(const std::string& text)
{
    const std::string line = text.substr(0, text.find('\n'));
    return line.empty() ? "cannot be parsed as OBJ" : line;
}

// Reads each mtllib through the caller's source; remembers the folder of
// the file each material came from (its map_Kd is relative to it: the full
// path, and the part below the OBJ's folder) and the first library that
// could not be read.
class Mtl_reader : public tinyobj::MaterialReader {
public:
    Mtl_reader(std::string folder, bool outside, const Obj_reader::File_source& source)
        : obj_folder(std::move(folder)), allow_outside(outside), files(source)
    {
    }

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* map, std::string* warn, std::string* err) override
    {
        const std::string path = against(obj_folder, name);
        const std::string outside = allow_outside ? "" : leaves_folder(obj_folder, name);
        if (!outside.empty()) return fail(path, outside_text(outside));
        std::vector<uint8_t> bytes;
        const Read_reason refused = files(path, bytes);
        if (refused != Read_reason::ok) return fail(path, std::string("cannot be read (") + text(refused) + ")");
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        tinyobj::LoadMtl(map, materials, &in, warn, err);
        folders.resize(materials->size(), folder_of(path));
        inner_folders.resize(materials->size(), folder_of(name));
        return true;
    }

    std::string obj_folder;
    bool allow_outside;
    const Obj_reader::File_source& files;
    std::vector<std::string> folders;        // one a material
    std::vector<std::string> inner_folders;  // the same below the OBJ's folder
    std::string failed, failure;

private:
    bool fail(const std::string& path, const std::string& why)
    {
        if (failed.empty()) failed = path, failure = why;
        return false;
    }
};

struct Counts {
    int vertices, texcoords, normals;
};

// An empty text when the corner's indices lie inside their arrays.
std::string index_problem(const tinyobj::index_t& i, const Counts& n)
{
    if (i.vertex_index < 0 || i.vertex_index >= n.vertices) return "vertex index out of range";
    if (i.texcoord_index < -1 || i.texcoord_index >= n.texcoords) return "texture coordinate index out of range";
    if (i.normal_index < -1 || i.normal_index >= n.normals) return "normal index out of range";
    return "";
}
}  // namespace

bool Obj_reader::refuse(const std::string& file, const std::string& what)
{
    problem_file = file;
    problem = what;
    return false;
}

namespace {
// What the parser gave, with what the checks and the fan need.
struct Parsed {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::vector<std::string> folders;        // the MTL folder of each material
    std::vector<std::string> inner_folders;  // the same below the OBJ's folder
    std::string obj_folder;
    bool allow_outside = false;
    std::string problem;  // a map_Kd refused, for the caller
    Counts counts{0, 0, 0};
    std::map<int, size_t> mesh_of;  // material id -> index in the meshes
};

Obj_reader::Mesh& mesh_for(int id, Parsed& p, std::vector<Obj_reader::Mesh>& meshes)
{
    auto found = p.mesh_of.find(id);
    if (found != p.mesh_of.end()) return meshes[found->second];
    const tinyobj::material_t& m = p.materials[size_t(id)];
    const std::string folder = size_t(id) < p.folders.size() ? p.folders[size_t(id)] : "";
    const std::string inner = size_t(id) < p.inner_folders.size() ? p.inner_folders[size_t(id)] : "";
    const std::string texture = m.diffuse_texname.empty() ? "" : against(folder, m.diffuse_texname);
    if (!texture.empty() && !p.allow_outside) {
        const std::string outside = leaves_folder(p.obj_folder, against(inner, m.diffuse_texname));
        if (!outside.empty() && p.problem.empty())
            p.problem = "map_Kd \"" + m.diffuse_texname + "\" of material \"" + m.name + "\" " + outside_text(outside);
    }
    p.mesh_of.emplace(id, meshes.size());
    meshes.push_back(Obj_reader::Mesh{Obj_name::decode(m.name), texture, {}, {}});
    return meshes.back();
}

void add_corner(const tinyobj::index_t& i, const Parsed& p, double scale, Obj_reader::Mesh& mesh)
{
    for (size_t d = 0; d < 3; ++d) mesh.positions.push_back(scale * p.attrib.vertices[size_t(i.vertex_index) * 3 + d]);
    for (size_t d = 0; d < 2; ++d)
        mesh.texcoords.push_back(i.texcoord_index < 0 ? 0.0 : p.attrib.texcoords[size_t(i.texcoord_index) * 2 + d]);
}

// Checks face f of the shape (its corners start at `at`; their count is
// Obj_check's, as the parser keeps only its low byte) and adds it as a fan
// of triangles; an empty text when it was added.
std::string add_face(const tinyobj::shape_t& shape, size_t f, size_t at, size_t corners, Parsed& p, double scale,
                     std::vector<Obj_reader::Mesh>& meshes)
{
    if (corners % 256 != shape.mesh.num_face_vertices[f]) return "corners counted otherwise than the parser did";
    if (corners < 3) return "fewer than 3 corners";
    if (at + corners > shape.mesh.indices.size()) return "fewer corners than counted";
    const int id = f < shape.mesh.material_ids.size() ? shape.mesh.material_ids[f] : -1;
    if (id < 0 || size_t(id) >= p.materials.size()) return "no material (usemtl naming a material of its MTL file)";
    for (size_t k = 0; k < corners; ++k) {
        const std::string bad = index_problem(shape.mesh.indices[at + k], p.counts);
        if (!bad.empty()) return bad;
    }
    Obj_reader::Mesh& mesh = mesh_for(id, p, meshes);
    if (!p.problem.empty()) return p.problem;
    for (size_t k = 1; k + 1 < corners; ++k)
        for (size_t c : {size_t(0), k, k + 1}) add_corner(shape.mesh.indices[at + c], p, scale, mesh);
    return "";
}

bool all_finite(const std::vector<Obj_reader::Mesh>& meshes)
{
    for (const Obj_reader::Mesh& m : meshes)
        for (const std::vector<double>* values : {&m.positions, &m.texcoords})
            for (double v : *values)
                if (!std::isfinite(v)) return false;
    return true;
}
}  // namespace

bool Obj_reader::read(const std::string& obj_path, double scale, bool allow_outside)
{
    std::vector<uint8_t> bytes;
    const Read_reason refused = Whole_file::read(obj_path, bytes, max_file_size);
    if (refused != Read_reason::ok) return refuse(obj_path, std::string("cannot be read (") + text(refused) + ")");
    const File_source disk = [](const std::string& path, std::vector<uint8_t>& out) {
        return Whole_file::read(path, out, max_file_size);
    };
    return parse(std::string(bytes.begin(), bytes.end()), obj_path, scale, allow_outside, disk);
}

bool Obj_reader::parse(const std::string& obj_text, const std::string& obj_path, double scale, bool allow_outside,
                       const File_source& mtl_files)
{
    meshes.clear();
    Obj_check check;
    if (!check.check(obj_text)) return refuse(obj_path, check.problem);
    std::istringstream in(obj_text);
    Parsed p;
    std::string warn, err;
    Mtl_reader mtl(folder_of(obj_path), allow_outside, mtl_files);
    // Triangulating inside the parser would use the indices before anyone
    // checked them: the fan is cut in add_face, after the checks.
    if (!tinyobj::LoadObj(&p.attrib, &p.shapes, &p.materials, &warn, &err, &in, &mtl, false, false))
        return refuse(obj_path, first_line(err));
    if (!mtl.failed.empty()) return refuse(mtl.failed, "material library " + mtl.failure);
    p.folders = mtl.folders;
    p.inner_folders = mtl.inner_folders;
    p.obj_folder = folder_of(obj_path);
    p.allow_outside = allow_outside;
    p.counts = Counts{int(p.attrib.vertices.size() / 3), int(p.attrib.texcoords.size() / 2),
                      int(p.attrib.normals.size() / 3)};
    size_t face_number = 0;
    for (const tinyobj::shape_t& shape : p.shapes) {
        size_t at = 0;
        for (size_t f = 0; f < shape.mesh.num_face_vertices.size(); ++f) {
            if (face_number >= check.face_corners.size())
                return refuse(obj_path, "the parser found more faces than were counted");
            const size_t corners = check.face_corners[face_number++];
            const std::string bad = add_face(shape, f, at, corners, p, scale, meshes);
            if (!p.problem.empty()) return refuse(obj_path, p.problem);
            if (!bad.empty()) return refuse(obj_path, "face " + std::to_string(face_number) + ": " + bad);
            at += corners;
        }
    }
    if (!all_finite(meshes)) return refuse(obj_path, "a position or texture coordinate is not a finite number");
    return true;
}
