#include "tools/pak/Obj_materials.h"

#include <tiny_obj_loader.h>

#include "tools/pak/Obj_path.h"
#include "tools/pak/Obj_text.h"

namespace {
// Kd r g b: three finite numbers, each kept within 0 to 1.
bool diffuse_of(std::string_view rest, double rgb[3])
{
    for (size_t k = 0; k < 3; ++k)
        if (!Obj_text::number(Obj_text::word(rest), rgb[k])) return false;
    for (size_t k = 0; k < 3; ++k) rgb[k] = rgb[k] < 0 ? 0 : rgb[k] > 1 ? 1 : rgb[k];
    return true;
}
}  // namespace

Obj_materials::Obj_materials(const std::string& obj_folder, bool allow_outside, const File_source& files,
                             std::set<std::string> used)
    : obj_folder(obj_folder), allow_outside(allow_outside), files(files), used(std::move(used))
{
}

bool Obj_materials::refuse(const std::string& file, const std::string& what)
{
    problem_file = file;
    problem = what;
    return false;
}

bool Obj_materials::library(std::string_view rest)
{
    // A name with blanks (Blender writes the model file's name as it is) is
    // taken whole when such a file is there.
    const std::string whole(Obj_text::rest(rest));
    if (whole.find_first_of(" \t") != std::string::npos) {
        if (libraries.count(whole)) return true;
        bool there = false;
        const bool read = read_library(whole, &there);
        if (there) return read;  // its own problem (UTF-16) is said
    }
    // Else the names of one mtllib line are places to look, as tinyobjloader
    // takes them: the first that reads (or was read before) serves; when
    // none does, the first one's problem is said.
    std::string file, why;
    for (std::string_view w = Obj_text::word(rest); !w.empty(); w = Obj_text::word(rest)) {
        const std::string name(w);
        if (libraries.count(name) || read_library(name)) return true;
        if (!allow_outside && !Obj_path::leaves_folder(obj_folder, name).empty()) return false;
        if (file.empty()) file = problem_file, why = problem;
    }
    return file.empty() || refuse(file, why);
}

bool Obj_materials::read_library(const std::string& name, bool* there)
{
    const std::string path = Obj_path::against(obj_folder, name);
    const std::string outside = allow_outside ? "" : Obj_path::leaves_folder(obj_folder, name);
    if (!outside.empty()) return refuse(path, "material library " + Obj_path::outside_text(outside));
    std::vector<uint8_t> bytes;
    const Read_reason refused = files(path, bytes);
    if (refused != Read_reason::ok)
        return refuse(path, std::string("material library cannot be read (") + text(refused) + ")");
    if (there) *there = true;
    if (!read_materials(bytes, path, name)) return false;
    // Only a library that was read counts as read: a later mtllib naming
    // one that failed fails again.
    libraries.insert(name);
    return true;
}

bool Obj_materials::read_materials(const std::vector<uint8_t>& bytes, const std::string& path, const std::string& name)
{
    const char* text = reinterpret_cast<const char*>(bytes.data());
    const std::string encoding = Obj_text::encoding_problem(text, bytes.size());
    if (!encoding.empty()) return refuse(path, encoding);
    const size_t bom = Obj_text::bom_length(text, bytes.size());
    Obj_text lines(text + bom, bytes.size() - bom);
    long current = -1;  // the material whose map_Kd is kept
    while (lines.next_line()) {
        std::string_view rest = Obj_text::rest(lines.line);
        const std::string_view keyword = Obj_text::word(rest);
        if (keyword == "newmtl") {
            const std::string material(Obj_text::rest(rest));
            current = -1;
            // A material no face uses is not kept (an MTL may name millions);
            // of a name defined twice, usemtl finds the first. One a usemtl
            // named before its mtllib was read is filled in here.
            if (!used.count(material)) continue;
            const auto found = index_of.find(material);
            if (found != index_of.end() && materials[found->second].defined) continue;
            current = long(found != index_of.end() ? found->second : materials.size());
            if (found == index_of.end()) {
                index_of.emplace(material, materials.size());
                materials.emplace_back();
            }
            materials[size_t(current)] = Material{material, "", Obj_path::folder_of(path), Obj_path::folder_of(name), true};
        } else if (keyword == "map_Kd" && current >= 0) {
            std::string texture;
            tinyobj::texture_option_t options{};
            if (tinyobj::ParseTextureNameAndOption(&texture, &options, std::string(rest).c_str()))
                materials[size_t(current)].texture = Obj_path::plain_picture_name(texture);
        } else if (keyword == "Kd" && current >= 0) {
            Material& m = materials[size_t(current)];
            m.has_diffuse = diffuse_of(rest, m.diffuse);
        }
    }
    return true;
}

// Faces before any usemtl, or after one that no MTL defines, still import
// (a picture is made for them).
size_t Obj_materials::named(const std::string& name)
{
    const std::string known = name.empty() ? "default" : name;
    const auto found = index_of.find(known);
    if (found != index_of.end()) return found->second;
    index_of.emplace(known, materials.size());
    materials.push_back(Material{known, "", "", ""});
    return materials.size() - 1;
}

