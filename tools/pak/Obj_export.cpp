// pak export-obj: one model of a pack as OBJ + MTL, with each mesh's image
// as a PNG beside them, for modelling programs. The way back is import-obj
// (Obj_import.cpp).
#include "tools/pak/Pak_commands.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

#include "resources/Image_rgba.h"
#include "resources/Model.h"
#include "resources/Pak.h"
#include "tools/common/Png_writer.h"
#include "tools/pak/Obj_name.h"
#include "tools/pak/Pak_io.h"

namespace {
using File = std::unique_ptr<FILE, int (*)(FILE*)>;

File open_for_writing(const std::string& path) { return File(std::fopen(path.c_str(), "wb"), std::fclose); }

// A file name for an entry's name: no folder parts, no blanks (MTL readers
// split map_Kd at blanks); images always end in ".png".
std::string file_name(const std::string& name, const std::string& suffix)
{
    std::string out = name;
    for (char& c : out)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) <= ' ') c = '_';
    const bool has_suffix = out.size() >= suffix.size() && out.compare(out.size() - suffix.size(), suffix.size(), suffix) == 0;
    return has_suffix ? out : out + suffix;
}

void face_normal(const Mesh_record::Corner c[3], double n[3])
{
    const double a[3] = {c[1].x - c[0].x, c[1].y - c[0].y, c[1].z - c[0].z};
    const double b[3] = {c[2].x - c[0].x, c[2].y - c[0].y, c[2].z - c[0].z};
    n[0] = a[1] * b[2] - a[2] * b[1];
    n[1] = a[2] * b[0] - a[0] * b[2];
    n[2] = a[0] * b[1] - a[1] * b[0];
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    // A degenerate triangle faces nowhere: its normal stays 0.
    if (length > 0)
        for (int k = 0; k < 3; ++k) n[k] /= length;
}

// One object and one material per mesh; every corner its own v and vt,
// every triangle one vn (its face normal). %.17g keeps each double exact.
void write_mesh(FILE* f, size_t index, const Mesh_record& m, long& corners_before)
{
    std::fprintf(f, "o mesh_%zu\nusemtl %s\n", index, Obj_name::encode(m.texture_name).c_str());
    for (int32_t t = 0; t < m.triangle_count; ++t) {
        Mesh_record::Corner c[3];
        for (size_t k = 0; k < 3; ++k) c[k] = m.corner(t, k);
        double n[3];
        face_normal(c, n);
        for (size_t k = 0; k < 3; ++k) std::fprintf(f, "v %.17g %.17g %.17g\n", c[k].x, c[k].y, c[k].z);
        for (size_t k = 0; k < 3; ++k) std::fprintf(f, "vt %.17g %.17g\n", c[k].u, c[k].v);
        std::fprintf(f, "vn %.17g %.17g %.17g\n", n[0], n[1], n[2]);
    }
    for (int32_t t = 0; t < m.triangle_count; ++t) {
        const long v = corners_before + 3L * t + 1, vn = (corners_before / 3) + t + 1;
        std::fprintf(f, "f %ld/%ld/%ld %ld/%ld/%ld %ld/%ld/%ld\n", v, v, vn, v + 1, v + 1, vn, v + 2, v + 2, vn);
    }
    corners_before += 3L * m.triangle_count;
}

bool write_obj(const std::string& path, const std::string& pack, const std::string& entry, const Model& model)
{
    File f = open_for_writing(path);
    if (!f) return false;
    std::fprintf(f.get(), "# %s of %s, written by pak export-obj.\n", entry.c_str(), pack.c_str());
    std::fprintf(f.get(), "# Texture v runs down: v = 0 is the image's top row.\n");
    std::fprintf(f.get(), "mtllib %s\n", file_name(entry, ".mtl").c_str());
    long corners = 0;
    for (size_t i = 0; i < model.meshes.size(); ++i) write_mesh(f.get(), i, model.meshes[i], corners);
    return !std::ferror(f.get()) && std::fclose(f.release()) == 0;
}

// The image entry decoded and written again as PNG; false with the problem
// said.
bool write_texture(const Pak& pak, const std::string& pack_path, const std::string& name, const std::string& path)
{
    Pak_entry e = pak.find(name);
    Image_rgba image;
    if (e.empty() || !image.decode(e.data, e.size)) {
        Pak_io::problem(pack_path, "texture " + Pak_io::quoted(name) + (e.empty() ? " is missing" : " does not decode"));
        return false;
    }
    if (Png_writer::write_file(path, image.width(), image.height(), image.pixels())) return true;
    Pak_io::problem(path, "cannot be written");
    return false;
}

// One material a texture name, once each; procedural textures get no
// image (the saver makes them) but keep their name.
bool write_mtl(const std::string& dir, const std::string& mtl_path, const Pak& pak, const std::string& pack_path,
               const Model& model)
{
    File f = open_for_writing(mtl_path);
    if (!f) {
        Pak_io::problem(mtl_path, "cannot be written");
        return false;
    }
    bool all = true;
    std::set<std::string> done;
    for (const Mesh_record& m : model.meshes) {
        const std::string name = m.texture_name;
        if (!done.insert(name).second) {
            Pak_io::problem(pack_path, "warning: texture " + Pak_io::quoted(name) +
                                           " serves two meshes; import-obj makes them one (one mesh a material)");
            continue;
        }
        std::fprintf(f.get(), "newmtl %s\nKd 1 1 1\n", Obj_name::encode(name).c_str());
        if (m.is_procedural()) {
            std::fprintf(f.get(), "# procedural: made by the saver, no image\n\n");
            continue;
        }
        const std::string image = file_name(name, ".png");
        std::fprintf(f.get(), "map_Kd %s\n\n", image.c_str());
        all = write_texture(pak, pack_path, name, dir + image) && all;
    }
    if (std::ferror(f.get()) || std::fclose(f.release()) != 0) {
        Pak_io::problem(mtl_path, "cannot be written");
        return false;
    }
    return all;
}

bool read_model(const Pak& pak, const std::string& pack_path, const std::string& entry, Model& model)
{
    Pak_entry e = pak.find(entry);
    if (e.empty()) {
        Pak_io::problem(pack_path, "no entry " + Pak_io::quoted(entry));
        return false;
    }
    model = Model::read(e.data, size_t(e.size));
    if (model.has_header && model.status.ok()) return true;
    Pak_io::problem(pack_path, "entry " + Pak_io::quoted(entry) + " is not a model that reads whole (" +
                                   text(model.status.reason) + ")");
    return false;
}
}  // namespace

int Pak_commands::export_obj(const Args& a)
{
    const std::string& pack_path = a[0];
    Pak pak;
    bool truncated = false;
    if (!Pak_io::load(pak, pack_path, truncated)) return Pak_io::failure;
    Model model;
    if (!read_model(pak, pack_path, a[1], model)) return Pak_io::failure;
    std::string dir = a[2];
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::string obj = dir + file_name(a[1], ".obj");
    if (!write_obj(obj, pack_path, a[1], model)) {
        Pak_io::problem(obj, "cannot be written");
        return Pak_io::failure;
    }
    if (!write_mtl(dir, dir + file_name(a[1], ".mtl"), pak, pack_path, model)) return Pak_io::failure;
    return truncated ? Pak_io::failure : Pak_io::ok;
}
