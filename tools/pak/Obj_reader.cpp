#include "tools/pak/Obj_reader.h"

#include <map>

#include "base/Whole_file.h"
#include "tools/pak/Obj_check.h"
#include "tools/pak/Obj_materials.h"
#include "tools/pak/Obj_name.h"
#include "tools/pak/Obj_path.h"
#include "tools/pak/Obj_text.h"

namespace {
std::string in_quotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

struct Obj_reader::Reading {
    explicit Reading(Obj_materials materials) : materials(std::move(materials)) {}
    std::string obj_path, obj_folder;
    double scale = 1;
    bool allow_outside = false;
    size_t counts[3] = {0, 0, 0};  // v, vt and vn lines so far
    size_t totals[3] = {0, 0, 0};  // the same in the file
    size_t face_number = 0;        // f lines so far
    Obj_materials materials;
    long material = -1;                  // in force (usemtl); -1 for none found
    std::map<size_t, uint32_t> mesh_of;  // material -> mesh
};

bool Obj_reader::refuse(const std::string& file, const std::string& what)
{
    problem_file = file;
    problem = what;
    return false;
}

bool Obj_reader::mesh_for(Reading& r, uint32_t& mesh)
{
    if (r.material < 0) r.material = long(r.materials.named(""));
    const auto found = r.mesh_of.find(size_t(r.material));
    if (found != r.mesh_of.end()) {
        mesh = found->second;
        return true;
    }
    const Obj_materials::Material& m = r.materials[size_t(r.material)];
    const std::string texture = m.texture.empty() ? "" : Obj_path::against(m.folder, m.texture);
    if (!texture.empty() && !r.allow_outside) {
        const std::string outside = Obj_path::leaves_folder(r.obj_folder, Obj_path::against(m.inner_folder, m.texture));
        if (!outside.empty())
            return refuse(r.obj_path, "map_Kd " + in_quotes(m.texture) + " of material " + in_quotes(m.name) + " " +
                                          Obj_path::outside_text(outside));
    }
    mesh = uint32_t(meshes.size());
    r.mesh_of.emplace(size_t(r.material), mesh);
    meshes.push_back(Mesh{Obj_name::decode(m.name), texture, 0, m.has_diffuse, {m.diffuse[0], m.diffuse[1], m.diffuse[2]}});
    return true;
}

bool Obj_reader::face(std::string_view rest, size_t number, Reading& r)
{
    static const char* const kinds[3] = {"vertex", "texture coordinate", "normal"};
    static const char* const keywords[3] = {"v", "vt", "vn"};
    ++r.face_number;
    // The parser of modelling programs drops faces of fewer than 3 corners;
    // their indices are still checked.
    const size_t count = Obj_text::word_count(rest);
    for (std::string_view w = Obj_text::word(rest); !w.empty(); w = Obj_text::word(rest)) {
        long index[3], place[3] = {-1, -1, -1};
        Obj_text::corner(w, index);  // checked whole by Obj_check
        for (size_t k = 0; k < 3; ++k) {
            if (index[k] == 0) continue;  // not given
            // A negative index counts back from the last line read so far.
            place[k] = index[k] > 0 ? index[k] - 1 : long(r.counts[k]) + index[k];
            if (place[k] >= 0 && size_t(place[k]) < r.totals[k]) continue;
            const size_t lines = index[k] > 0 ? r.totals[k] : r.counts[k];
            const std::string where = std::to_string(lines) + " " + keywords[k] + (lines == 1 ? " line" : " lines") +
                                      (index[k] > 0 ? " in the file" : " before it");
            return refuse(r.obj_path, "face " + std::to_string(r.face_number) + ": " + kinds[k] +
                                          " index out of range (line " + std::to_string(number) + ": " + in_quotes(w) +
                                          ", " + where + ")");
        }
        if (count >= 3) corners.push_back(Corner{uint32_t(place[0]), int32_t(place[1])});
    }
    if (count < 3) return true;
    uint32_t mesh = 0;
    if (!mesh_for(r, mesh)) return false;
    faces.push_back(Face{uint32_t(count), mesh});
    meshes[mesh].triangles += count - 2;
    return true;
}

bool Obj_reader::line(std::string_view rest, size_t number, Reading& r)
{
    const std::string_view keyword = Obj_text::word(rest);
    const bool position = keyword == "v";
    if (position || keyword == "vt") {
        // Checked whole by Obj_check: x y z of a vertex, u [v] of a texture
        // coordinate (v 0 when absent, and turned); what follows is not used.
        double value[3] = {0, 0, 0};
        for (size_t k = 0; k < (position ? 3 : 1); ++k) Obj_text::number(Obj_text::word(rest), value[k]);
        if (!position) Obj_text::turned_v(Obj_text::word(rest), value[1]);
        if (position)
            for (double v : value) positions.push_back(v * r.scale);
        else
            texcoords.insert(texcoords.end(), value, value + 2);
        ++r.counts[position ? 0 : 1];
    } else if (keyword == "vn") {
        ++r.counts[2];
    } else if (keyword == "f") {
        return face(rest, number, r);
    } else if (keyword == "usemtl") {
        r.material = long(r.materials.named(std::string(Obj_text::rest(rest))));
    } else if (keyword == "mtllib" && !r.materials.library(rest)) {
        return refuse(r.materials.problem_file, r.materials.problem);
    }
    return true;
}

bool Obj_reader::read(const std::string& obj_path, double scale, bool allow_outside, size_t max_triangles)
{
    std::vector<uint8_t> bytes;
    const Read_reason refused = Whole_file::read(obj_path, bytes, max_file_size);
    if (refused != Read_reason::ok) return refuse(obj_path, std::string("cannot be read (") + text(refused) + ")");
    const File_source disk = [](const std::string& path, std::vector<uint8_t>& out) {
        return Whole_file::read(path, out, max_file_size);
    };
    return parse(reinterpret_cast<const char*>(bytes.data()), bytes.size(), obj_path, scale, allow_outside, disk,
                 max_triangles);
}

bool Obj_reader::parse(const char* text, size_t size, const std::string& obj_path, double scale, bool allow_outside,
                       const File_source& mtl_files, size_t max_triangles)
{
    *this = Obj_reader();
    // Indices are kept in 32 bits: a file within the cap holds fewer lines.
    if (size > max_file_size) return refuse(obj_path, "cannot be read (" + std::string(::text(Read_reason::too_large)) + ")");
    const std::string encoding = Obj_text::encoding_problem(text, size);
    if (!encoding.empty()) return refuse(obj_path, encoding);
    const size_t bom = Obj_text::bom_length(text, size);
    text += bom, size -= bom;
    Obj_check check;
    if (!check.check(text, size, scale)) return refuse(obj_path, check.problem);
    if (check.faces == 0) return refuse(obj_path, "holds no faces");
    if (check.triangles > max_triangles)
        return refuse(obj_path, std::to_string(check.triangles) + " triangles make a model larger than the pack has room for (" +
                                    std::to_string(max_triangles) + " at most)");
    Reading r(Obj_materials(Obj_path::folder_of(obj_path), allow_outside, mtl_files, std::move(check.materials)));
    r.obj_path = obj_path;
    r.obj_folder = Obj_path::folder_of(obj_path);
    r.scale = scale;
    r.allow_outside = allow_outside;
    r.totals[0] = check.positions, r.totals[1] = check.texcoords, r.totals[2] = check.normals;
    // Sized once from the counts: nothing grows past what the file holds.
    positions.reserve(3 * check.positions);
    texcoords.reserve(2 * check.texcoords);
    faces.reserve(check.faces);
    corners.reserve(check.corners);
    Obj_text lines(text, size);
    while (lines.next_line())
        if (!line(lines.line, lines.line_number, r)) return false;
    return true;
}

void Obj_reader::each_triangle(const std::function<void(const Triangle&)>& visit) const
{
    static const double no_texcoord[2] = {0, 1};  // u 0, v 0 of the file, turned
    size_t at = 0;
    for (const Face& f : faces) {
        for (size_t k = 1; k + 1 < f.corners; ++k) {
            Triangle t{f.mesh, {}, {}};
            const size_t fan[3] = {at, at + k, at + k + 1};
            for (size_t c = 0; c < 3; ++c) {
                const Corner& corner = corners[fan[c]];
                t.position[c] = &positions[3 * size_t(corner.position)];
                t.texcoord[c] = corner.texcoord < 0 ? no_texcoord : &texcoords[2 * size_t(corner.texcoord)];
            }
            visit(t);
        }
        at += f.corners;
    }
}
