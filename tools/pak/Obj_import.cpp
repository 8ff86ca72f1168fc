// pak import-obj: an OBJ + MTL made in a modelling program put into a pack
// as a model, with its images. Everything is checked before the pack is
// touched: a refusal leaves it as it was.
#include "tools/pak/Pak_commands.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "base/Whole_file.h"
#include "resources/Image_rgba.h"
#include "resources/Mesh_record.h"
#include "resources/Model_writer.h"
#include "resources/Pak.h"
#include "tools/common/Png_writer.h"
#include "tools/pak/Obj_reader.h"
#include "tools/pak/Pak_io.h"
#include "tools/pak/Picture_check.h"
#include "tools/pak/Picture_resize.h"

namespace {
struct Options {
    std::string pack, entry, obj;
    double scale = 1;
    bool replace = false;
    bool allow_outside = false;  // mtllib and map_Kd may lead out of the OBJ's folder
    bool y_up = false;           // the file's up is +Y (Blender's export), turned to the garden's +Z
};

// The entries the import will write: the model and the images it needs.
struct Entry {
    std::string name;
    std::vector<uint8_t> bytes;
};

bool parse_options(const Pak_commands::Args& a, Options& o)
{
    std::vector<std::string> plain;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == "--replace") {
            o.replace = true;
        } else if (a[i] == "--allow-outside") {
            o.allow_outside = true;
        } else if (a[i] == "--up" && i + 1 < a.size() && (a[i + 1] == "y" || a[i + 1] == "z")) {
            o.y_up = a[++i] == "y";
        } else if (a[i] == "--scale" && i + 1 < a.size()) {
            errno = 0;
            char* end = nullptr;
            o.scale = std::strtod(a[++i].c_str(), &end);
            if (errno || a[i].empty() || *end || !std::isfinite(o.scale) || o.scale == 0) return false;
        } else {
            plain.push_back(a[i]);
        }
    }
    if (plain.size() != 3) return false;
    o.pack = plain[0], o.entry = plain[1], o.obj = plain[2];
    return true;
}

// The first two characters of a texture name are its drawing flags; a
// material named without them is opaque.
std::string texture_name(const std::string& material)
{
    static const char* const kinds[] = {"#_", "__", "#$", "##"};
    for (const char* k : kinds)
        if (material.compare(0, 2, k) == 0) return material;
    return "#_" + material;
}

bool refuse(const std::string& file, const std::string& what)
{
    Pak_io::problem(file, what);
    return false;
}

// A name the pack holds is refused unless --replace, as pak add does.
bool name_allowed(const std::string& name, const Options& o, const Pak& pak, std::set<std::string>& taken)
{
    if (name.size() > size_t(Pak::max_name_length))
        return refuse(o.obj, "name " + Pak_io::quoted(name) + " is longer than 127 bytes");
    if (name.empty() || name.find('\0') != std::string::npos)
        return refuse(o.obj, "name " + Pak_io::quoted(name) + " is empty or holds a NUL byte");
    if (!taken.insert(name).second) return refuse(o.obj, "two materials make the name " + Pak_io::quoted(name));
    if (Pak_io::index_of(pak, name) >= 0 && !o.replace)
        return refuse(o.pack, "already holds an entry " + Pak_io::quoted(name) + " (--replace replaces it)");
    return true;
}

std::string size_text(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

// A picture in a format a pack does not carry (BMP, TGA: one build cannot
// read them) that stb_image reads: the import writes its own PNG of it.
bool other_format(const std::vector<uint8_t>& bytes, Image_rgba& picture)
{
    const Image_rgba::Header h = Image_rgba::read_header(bytes.data(), int32_t(bytes.size()));
    return h.format && std::strcmp(h.format, "PNG") != 0 && std::strcmp(h.format, "JPEG") != 0 &&
           picture.decode_with_stb(bytes.data(), int32_t(bytes.size()));
}

// The image a material names (`refused` and `bytes`: how its file read),
// decoded to be sure it is one both builds show alike, then scaled to sides
// every renderer takes, or written as PNG when in another format (and said
// so).
bool read_image(const Obj_reader::Mesh& m, Read_reason refused, std::vector<uint8_t> bytes, const std::string& name,
                std::vector<Entry>& entries, std::vector<std::string>& notes)
{
    const std::string texture = "texture of material " + Pak_io::quoted(m.material);
    if (refused != Read_reason::ok) return refuse(m.texture_path, texture + " cannot be read (" + text(refused) + ")");
    Image_rgba picture;
    const std::string bad = Picture_check::problem(bytes.data(), bytes.size(), &picture);
    const bool other = !bad.empty() && other_format(bytes, picture);
    if (!bad.empty() && !other) return refuse(m.texture_path, texture + " " + bad);
    const bool fits = Picture_resize::fits(picture.width(), picture.height());
    if (other || !fits) {
        bytes.clear();
        bytes.shrink_to_fit();
        const int w = Picture_resize::side_for(picture.width()), h = Picture_resize::side_for(picture.height());
        const std::vector<uint8_t> scaled = fits ? std::vector<uint8_t>() : Picture_resize::scaled(picture, w, h);
        if (!fits && scaled.empty())
            return refuse(m.texture_path, texture + " cannot be scaled to " + size_text(w, h));
        bytes = Png_writer::encode(w, h, fits ? picture.pixels() : scaled.data());
        if (bytes.empty()) return refuse(m.texture_path, texture + " cannot be made a PNG");
        const std::string size = size_text(picture.width(), picture.height());
        notes.push_back(m.texture_path + ": " + (other ? "written as PNG (packs carry PNG and JPEG)" : "") +
                        (other && !fits ? ", " : "") +
                        (fits ? "" : "scaled from " + size + " to " + size_text(w, h) + " (power-of-two sides, at most " +
                                         std::to_string(Picture_resize::max_side) + ", show on every renderer)"));
    }
    entries.push_back(Entry{name, std::move(bytes)});
    return true;
}

// A picture for a material that names none: a small square of its diffuse
// colour (Kd), light grey (Blender's default, 0.8) without one. Materials of
// one colour share the first one's picture: `name` becomes its name.
bool made_image(const Obj_reader::Mesh& m, const std::string& why, std::string& name, const Options& o, const Pak& pak,
                std::map<uint32_t, std::string>& made, std::set<std::string>& taken, std::vector<Entry>& entries,
                std::vector<std::string>& notes)
{
    uint8_t rgb[3];
    for (size_t k = 0; k < 3; ++k) rgb[k] = uint8_t(std::lround((m.has_diffuse ? m.diffuse[k] : 0.8) * 255));
    const uint32_t key = uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
    const std::string colour = std::to_string(rgb[0]) + " " + std::to_string(rgb[1]) + " " + std::to_string(rgb[2]);
    const std::string material = "material " + Pak_io::quoted(m.material) + " " + why + ": ";
    const auto same = made.find(key);
    if (same != made.end()) {
        name = same->second;
        notes.push_back(o.obj + ": " + material + "shares " + Pak_io::quoted(name) + ", of the same colour");
        return true;
    }
    if (!name_allowed(name, o, pak, taken)) return false;
    const int side = 4;
    std::vector<uint8_t> pixels;
    for (int i = 0; i < side * side; ++i) pixels.insert(pixels.end(), {rgb[0], rgb[1], rgb[2], 255});
    std::vector<uint8_t> png = Png_writer::encode(side, side, pixels.data());
    if (png.empty()) return refuse(o.obj, material + "its picture " + Pak_io::quoted(name) + " cannot be made a PNG");
    entries.push_back(Entry{name, std::move(png)});
    made.emplace(key, name);
    notes.push_back(o.obj + ": " + material + "made " + Pak_io::quoted(name) + ", a square of " +
                    (m.has_diffuse ? "its colour" : "light grey") + " (RGB " + colour + "; pak add --replace replaces it)");
    return true;
}

// A model entry takes this much a triangle: nine position and six texture
// coordinate doubles.
constexpr size_t triangle_bytes = Mesh_record::position_bytes + Mesh_record::texcoord_bytes;

// The triangles a model may hold: what is left of a pack's size once its
// other entries, the model's own record, its header and one mesh's
// smallest header are counted. Refused past it before anything is built.
size_t room_for_triangles(const Pak& pak, const std::string& entry)
{
    const std::vector<std::string> one_mesh = {std::string()};
    size_t size = pak.saved_size() + Pak::record_size(entry.size(), Model_writer::size_of(one_mesh, {0}));
    const int32_t replaced = Pak_io::index_of(pak, entry);
    if (replaced >= 0) size -= Pak::record_size(entry.size(), size_t(pak.entry(replaced).size));
    return size < Pak::max_pack_size ? (Pak::max_pack_size - size) / triangle_bytes : 0;
}

// The model entry, written in place: each triangle where its mesh's arrays
// lie.
std::vector<uint8_t> model_bytes(const Obj_reader& obj, const std::vector<std::string>& names,
                                 const std::vector<size_t>& triangles, bool y_up)
{
    Model_writer::Layout l = Model_writer::layout(names, triangles);
    obj.each_triangle([&](const Obj_reader::Triangle& t) {
        for (size_t c = 0; c < 3; ++c) {
            const double* p = t.position[c];
            // +Y up turned to +Z up: a quarter turn about X, keeping handedness.
            const double turned[3] = {p[0], -p[2], p[1]};
            Model_writer::put(l.bytes, l.positions[t.mesh], y_up ? turned : p, 3);
        }
        for (size_t c = 0; c < 3; ++c) Model_writer::put(l.bytes, l.texcoords[t.mesh], t.texcoord[c], 2);
    });
    return std::move(l.bytes);
}

// The model's bytes, unless it is beyond what one entry may hold (its size
// is worked out before anything that large is made).
bool model_entry(const Obj_reader& obj, const std::vector<std::string>& names, const Options& o,
                 std::vector<Entry>& entries)
{
    std::vector<size_t> counts;
    size_t triangles = 0;
    for (const Obj_reader::Mesh& m : obj.meshes) counts.push_back(m.triangles), triangles += m.triangles;
    const size_t size = Model_writer::size_of(names, counts);
    if (obj.meshes.empty()) return refuse(o.obj, "holds no faces");
    if (size > size_t(INT32_MAX) || size > Pak::max_pack_size)
        return refuse(o.obj, std::to_string(triangles) + " triangles make a model of " + std::to_string(size) +
                                 " bytes, more than a pack entry holds");
    entries.insert(entries.begin(), Entry{o.entry, model_bytes(obj, names, counts, o.y_up)});
    return true;
}

// Puts the entries in; false when the pack would outgrow what is read.
bool store(Pak& pak, const std::vector<Entry>& entries, const Options& o)
{
    for (const Entry& e : entries) {
        const int32_t at = Pak_io::index_of(pak, e.name);
        const bool stored = at >= 0 ? pak.replace_data(at, e.bytes.data(), int32_t(e.bytes.size()))
                                    : pak.add_data(e.name, e.bytes.data(), int32_t(e.bytes.size()));
        if (!stored) return refuse(o.pack, "entry " + Pak_io::quoted(e.name) + " cannot be stored");
    }
    if (pak.saved_size() > Pak::max_pack_size) return refuse(o.pack, "would grow past 1 GiB, more than a pack may hold");
    return true;
}

// The model and its images checked, made and put in the pack; the OBJ's
// arrays and the entries' bytes are gone before the pack is saved.
bool import_into(Pak& pak, const Options& o, std::vector<std::string>& notes)
{
    Obj_reader obj;
    if (!obj.read(o.obj, o.scale, o.allow_outside, room_for_triangles(pak, o.entry))) {
        Pak_io::problem(obj.problem_file, obj.problem);
        return false;
    }
    std::set<std::string> taken;
    if (!name_allowed(o.entry, o, pak, taken)) return false;
    std::vector<std::string> names;
    std::vector<Entry> entries;
    std::map<uint32_t, std::string> made;  // pictures made, by colour
    for (const Obj_reader::Mesh& m : obj.meshes) {
        names.push_back(texture_name(m.material));
        const bool procedural = names.back()[1] == '#';
        if (names.back().size() > size_t(Pak::max_name_length))
            return refuse(o.obj, "texture name " + Pak_io::quoted(names.back()) + " is longer than 127 bytes");
        if (procedural) continue;  // the saver makes it; no image to carry
        // A picture named but not there (exports often leave them behind)
        // is no picture: the model still comes in, and the line says so.
        // Read once: a picture that is not there is told by its read.
        std::vector<uint8_t> bytes;
        const Read_reason read =
            m.texture_path.empty() ? Read_reason::missing : Whole_file::read(m.texture_path, bytes, Pak::max_pack_size);
        const bool missing = !m.texture_path.empty() && read == Read_reason::missing;
        if (m.texture_path.empty() || missing) {
            // The pack's own picture of that name serves (one made before and
            // perhaps replaced by the user); else one is made.
            if (Pak_io::index_of(pak, names.back()) >= 0) continue;
            const std::string why = missing ? "names the picture " + Pak_io::quoted(m.texture_path) + ", which is not there"
                                            : "names no picture";
            if (!made_image(m, why, names.back(), o, pak, made, taken, entries, notes)) return false;
            continue;
        }
        if (!name_allowed(names.back(), o, pak, taken)) return false;
        if (!read_image(m, read, std::move(bytes), names.back(), entries, notes)) return false;
    }
    if (!model_entry(obj, names, o, entries)) return false;
    obj = Obj_reader();
    return store(pak, entries, o);
}
}  // namespace

int Pak_commands::import_obj(const Args& a)
{
    Options o;
    if (!parse_options(a, o)) {
        std::fprintf(stderr, "usage: pak import-obj [--replace] [--allow-outside] PACK ENTRY FILE.obj [--scale S] [--up y|z] (S finite, not 0)\n");
        return Pak_io::usage_error;
    }
    Pak pak;
    if (!Pak_io::load_for_rewrite(pak, o.pack, true)) return Pak_io::failure;
    // What was made or scaled is said once the pack holds it.
    std::vector<std::string> notes;
    if (!import_into(pak, o, notes) || !Pak_io::save(pak, o.pack)) return Pak_io::failure;
    for (const std::string& note : notes) std::printf("%s\n", note.c_str());
    return Pak_io::ok;
}
