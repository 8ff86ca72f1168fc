#include "tools/pak/Obj_reader.h"

#include <tiny_obj_loader.h>

#include <cmath>
#include <map>
#include <sstream>

#include "base/Whole_file.h"
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

std::string first_line(const std::string& text)
{
    const std::string line = text.substr(0, text.find('\n'));
    return line.empty() ? "cannot be parsed as OBJ" : line;
}

// Reads each mtllib through the bounded reader; remembers the folder of the
// file each material came from (its map_Kd is relative to it) and the
// first library that could not be read.
class Mtl_reader : public tinyobj::MaterialReader {
public:
    explicit Mtl_reader(std::string folder) : obj_folder(std::move(folder)) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* map, std::string* warn, std::string* err) override
    {
        const std::string path = against(obj_folder, name);
        std::vector<uint8_t> bytes;
        const Read_reason refused = Whole_file::read(path, bytes, Obj_reader::max_file_size);
        if (refused != Read_reason::ok) {
            if (failed.empty()) failed = path, failure = text(refused);
            return false;
        }
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        tinyobj::LoadMtl(map, materials, &in, warn, err);
        folders.resize(materials->size(), folder_of(path));
        return true;
    }

    std::string obj_folder;
    std::vector<std::string> folders;  // one a material
    std::string failed, failure;
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
    std::vector<std::string> folders;  // the MTL folder of each material
    Counts counts{0, 0, 0};
    std::map<int, size_t> mesh_of;  // material id -> index in the meshes
};

Obj_reader::Mesh& mesh_for(int id, Parsed& p, std::vector<Obj_reader::Mesh>& meshes)
{
    auto found = p.mesh_of.find(id);
    if (found != p.mesh_of.end()) return meshes[found->second];
    const tinyobj::material_t& m = p.materials[size_t(id)];
    const std::string folder = size_t(id) < p.folders.size() ? p.folders[size_t(id)] : "";
    const std::string texture = m.diffuse_texname.empty() ? "" : against(folder, m.diffuse_texname);
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

// Checks face f of the shape (its corners start at `at`) and adds it as a
// fan of triangles; an empty text when it was added.
std::string add_face(const tinyobj::shape_t& shape, size_t f, size_t at, Parsed& p, double scale,
                     std::vector<Obj_reader::Mesh>& meshes)
{
    const size_t corners = shape.mesh.num_face_vertices[f];
    if (corners < 3) return "fewer than 3 corners";
    if (at + corners > shape.mesh.indices.size()) return "fewer corners than counted";
    const int id = f < shape.mesh.material_ids.size() ? shape.mesh.material_ids[f] : -1;
    if (id < 0 || size_t(id) >= p.materials.size()) return "no material (usemtl naming a material of its MTL file)";
    for (size_t k = 0; k < corners; ++k) {
        const std::string bad = index_problem(shape.mesh.indices[at + k], p.counts);
        if (!bad.empty()) return bad;
    }
    Obj_reader::Mesh& mesh = mesh_for(id, p, meshes);
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

bool Obj_reader::read(const std::string& obj_path, double scale)
{
    std::vector<uint8_t> bytes;
    const Read_reason refused = Whole_file::read(obj_path, bytes, max_file_size);
    if (refused != Read_reason::ok) return refuse(obj_path, std::string("cannot be read (") + text(refused) + ")");
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    Parsed p;
    std::string warn, err;
    Mtl_reader mtl(folder_of(obj_path));
    // Triangulating inside the parser would use the indices before anyone
    // checked them: the fan is cut in add_face, after the checks.
    if (!tinyobj::LoadObj(&p.attrib, &p.shapes, &p.materials, &warn, &err, &in, &mtl, false, false))
        return refuse(obj_path, first_line(err));
    if (!mtl.failed.empty()) return refuse(mtl.failed, "material library cannot be read (" + mtl.failure + ")");
    p.folders = mtl.folders;
    p.counts = Counts{int(p.attrib.vertices.size() / 3), int(p.attrib.texcoords.size() / 2),
                      int(p.attrib.normals.size() / 3)};
    size_t face_number = 0;
    for (const tinyobj::shape_t& shape : p.shapes) {
        size_t at = 0;
        for (size_t f = 0; f < shape.mesh.num_face_vertices.size(); ++f) {
            const std::string bad = add_face(shape, f, at, p, scale, meshes);
            ++face_number;
            if (!bad.empty()) return refuse(obj_path, "face " + std::to_string(face_number) + ": " + bad);
            at += shape.mesh.num_face_vertices[f];
        }
    }
    if (!all_finite(meshes)) return refuse(obj_path, "a position or texture coordinate is not a finite number");
    return true;
}
