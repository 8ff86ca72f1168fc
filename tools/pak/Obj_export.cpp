// pak export-obj: one model of a pack as OBJ + MTL, with each mesh's image
// as a PNG beside them, for modelling programs. The way back is import-obj
// (Obj_import.cpp). The folder may hold anything (links planted by others,
// old files): every file is made in memory, no place that is a link is
// written, and each file is replaced whole.
#include "tools/pak/Pak_commands.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <set>
#include <vector>

#include "platform/Atomic_file.h"
#include "resources/Image_rgba.h"
#include "resources/Model.h"
#include "resources/Pak.h"
#include "tools/common/Png_writer.h"
#include "tools/pak/Obj_name.h"
#include "tools/pak/Obj_text.h"
#include "tools/pak/Pak_io.h"
#include "tools/pak/Picture_check.h"

namespace {
// The files of one export, made whole in memory first: nothing is written
// until every file is made and every place it goes is safe.
struct Out_file {
    std::string path;
    std::string bytes;
};

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// The image file of a texture, one of its own: names that come out equal
// (or equal but for case, as on Windows and macOS disks) get "-2", "-3"...
// before ".png", so that no texture's picture replaces another's.
std::string unique_image_name(const std::string& texture, std::set<std::string>& used)
{
    const std::string plain = Obj_name::file_name(texture, ".png");
    std::string name = plain;
    for (int n = 2; !used.insert(lower(name)).second; ++n)
        name = plain.substr(0, plain.size() - 4) + "-" + std::to_string(n) + ".png";
    return name;
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

// printf into a growing text.
void add(std::string& out, const char* format, ...)
{
    char line[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0) return;
    if (size_t(n) < sizeof line) {
        out.append(line, size_t(n));
        return;
    }
    std::vector<char> long_line(size_t(n) + 1);
    va_start(args, format);
    std::vsnprintf(long_line.data(), long_line.size(), format, args);
    va_end(args);
    out.append(long_line.data(), size_t(n));
}

// A texture v as OBJ files run it, up the picture (the model's runs down):
// 1 - v, in decimals, so that import-obj turns it back to the very double.
std::string up_the_picture(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return Obj_text::one_minus(text);
}

// One object and one material per mesh; every corner its own v and vt,
// every triangle one vn (its face normal). %.17g keeps each double exact.
void write_mesh(std::string& out, size_t index, const Mesh_record& m, long& corners_before, bool y_up)
{
    add(out, "o mesh_%zu\nusemtl %s\n", index, Obj_name::encode(m.texture_name).c_str());
    for (int32_t t = 0; t < m.triangle_count; ++t) {
        Mesh_record::Corner c[3];
        for (size_t k = 0; k < 3; ++k) c[k] = m.corner(t, k);
        double n[3];
        face_normal(c, n);
        // +Z up turned to +Y up (most programs' up): a quarter turn about X.
        if (y_up) {
            for (Mesh_record::Corner& k : c) k = Mesh_record::Corner{k.x, k.z, -k.y, k.u, k.v};
            const double y = n[1];
            n[1] = n[2], n[2] = -y;
        }
        for (size_t k = 0; k < 3; ++k) add(out, "v %.17g %.17g %.17g\n", c[k].x, c[k].y, c[k].z);
        for (size_t k = 0; k < 3; ++k) add(out, "vt %.17g %s\n", c[k].u, up_the_picture(c[k].v).c_str());
        add(out, "vn %.17g %.17g %.17g\n", n[0], n[1], n[2]);
    }
    for (int32_t t = 0; t < m.triangle_count; ++t) {
        const long v = corners_before + 3L * t + 1, vn = (corners_before / 3) + t + 1;
        add(out, "f %ld/%ld/%ld %ld/%ld/%ld %ld/%ld/%ld\n", v, v, vn, v + 1, v + 1, vn, v + 2, v + 2, vn);
    }
    corners_before += 3L * m.triangle_count;
}

std::string obj_text(const std::string& pack, const std::string& entry, const Model& model, bool y_up)
{
    std::string out;
    add(out, "# %s of %s, written by pak export-obj.\n", entry.c_str(), pack.c_str());
    add(out, "# Texture v runs up, as in OpenGL: v = 0 is the picture's bottom row.\n");
    add(out, "mtllib %s\n", Obj_name::file_name(entry, ".mtl").c_str());
    long corners = 0;
    if (y_up) add(out, "# Y is up (pak import-obj --up y turns it back).\n");
    for (size_t i = 0; i < model.meshes.size(); ++i) write_mesh(out, i, model.meshes[i], corners, y_up);
    return out;
}

// The image entry decoded and encoded again as PNG; empty with the problem
// said.
std::string png_of(const Pak& pak, const std::string& pack_path, const std::string& name)
{
    Pak_entry e = pak.find(name);
    const std::string refused = e.empty() ? "is missing" : Picture_check::problem(e.data, size_t(e.size));
    Image_rgba image;
    if (!refused.empty() || !image.decode(e.data, e.size)) {
        Pak_io::problem(pack_path, "texture " + Pak_io::quoted(name) + " " + (refused.empty() ? "does not decode" : refused));
        return "";
    }
    const std::vector<uint8_t> png = Png_writer::encode(image.width(), image.height(), image.pixels());
    if (png.empty()) Pak_io::problem(pack_path, "texture " + Pak_io::quoted(name) + " cannot be encoded as PNG");
    return std::string(png.begin(), png.end());
}

// One material a texture name, once each; procedural textures get no
// image (the saver makes them) but keep their name. Each image becomes a
// file of `files`.
bool add_mtl(const std::string& dir, const std::string& mtl_path, const Pak& pak, const std::string& pack_path,
             const Model& model, std::vector<Out_file>& files)
{
    bool all = true;
    std::string out;
    std::set<std::string> done, used;
    for (const Mesh_record& m : model.meshes) {
        const std::string name = m.texture_name;
        if (!done.insert(name).second) {
            Pak_io::problem(pack_path, "warning: texture " + Pak_io::quoted(name) +
                                           " serves two meshes; import-obj makes them one (one mesh a material)");
            continue;
        }
        add(out, "newmtl %s\nKd 1 1 1\n", Obj_name::encode(name).c_str());
        if (m.is_procedural()) {
            add(out, "# procedural: made by the saver, no image\n\n");
            continue;
        }
        const std::string image = unique_image_name(name, used);
        add(out, "map_Kd %s\n\n", image.c_str());
        std::string png = png_of(pak, pack_path, name);
        all = !png.empty() && all;
        files.push_back(Out_file{dir + image, std::move(png)});
    }
    files.insert(files.begin(), Out_file{mtl_path, out});
    return all;
}

// A place a file may go: nothing there yet, or a regular file (its
// permission bits go to `mode`). A link is never written through (someone
// else's file may be at its end), and a folder, device or FIFO is not ours
// to replace.
bool place_is_safe(const std::string& path, unsigned& mode)
{
    switch (Atomic_file::inspect(path, mode)) {
    case Atomic_file::Target::link:
        Pak_io::problem(path, "is a symbolic link: nothing is written through it");
        return false;
    case Atomic_file::Target::other:
        Pak_io::problem(path, text(Write_reason::not_regular));
        return false;
    case Atomic_file::Target::missing:
    case Atomic_file::Target::regular:
        break;
    }
    return true;
}

// Each file whole or not at all: written beside its place and renamed over
// it (a rename replaces a link planted since the look, never its target),
// so a full disk leaves the old file or none, never a cut one.
bool write_whole(const Out_file& f)
{
    unsigned mode = 0;
    if (!place_is_safe(f.path, mode)) return false;
    const Write_status status = Atomic_file::replace(f.path, f.path + ".tmp-XXXXXX", f.bytes.data(), f.bytes.size(), mode);
    if (status.ok()) return true;
    Pak_io::problem(f.path, status.text());
    return false;
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

const char* const Pak_commands::export_obj_arguments = "PACK ENTRY DIR [--up y|z]";

int Pak_commands::export_obj(const Args& given)
{
    // --up y writes +Y up, as most modelling programs read; the garden's is +Z.
    Args a;
    bool y_up = false;
    for (size_t i = 0; i < given.size(); ++i) {
        if (given[i] != "--up") {
            a.push_back(given[i]);
            continue;
        }
        if (i + 1 >= given.size() || (given[i + 1] != "y" && given[i + 1] != "z")) {
            std::fprintf(stderr, "pak: export-obj --up takes y or z; usage: pak export-obj %s\n", export_obj_arguments);
            return Pak_io::usage_error;
        }
        y_up = given[++i] == "y";
    }
    if (a.size() != 3) {
        std::fprintf(stderr, "usage: pak export-obj %s\n", export_obj_arguments);
        return Pak_io::usage_error;
    }
    const std::string& pack_path = a[0];
    Pak pak;
    bool truncated = false;
    if (!Pak_io::load(pak, pack_path, truncated)) return Pak_io::failure;
    Model model;
    if (!read_model(pak, pack_path, a[1], model)) return Pak_io::failure;
    std::string dir = a[2];
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::vector<Out_file> files;
    if (!add_mtl(dir, dir + Obj_name::file_name(a[1], ".mtl"), pak, pack_path, model, files)) return Pak_io::failure;
    files.insert(files.begin(), Out_file{dir + Obj_name::file_name(a[1], ".obj"), obj_text(pack_path, a[1], model, y_up)});
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        // Its own reason ("Permission denied"), not the files' later "No
        // such file or directory".
        Pak_io::problem(dir, "the folder cannot be made: " + ec.message());
        return Pak_io::failure;
    }
    // Every place is looked at before the first file is written: a link
    // among them stops the export with nothing written.
    bool safe = true;
    for (const Out_file& f : files) {
        unsigned mode = 0;
        safe = place_is_safe(f.path, mode) && safe;
    }
    if (!safe) return Pak_io::failure;
    for (const Out_file& f : files)
        if (!write_whole(f)) return Pak_io::failure;
    const size_t pictures = files.size() - 2;
    std::printf("%s: written, with %s%s\n", files[0].path.c_str(), files[1].path.c_str(),
                pictures ? (" and " + Pak_io::count(pictures, "picture", "pictures")).c_str() : "");
    return truncated ? Pak_io::failure : Pak_io::ok;
}
