// pak import-obj: an OBJ + MTL made in a modelling program put into a pack
// as a model, with its images. Everything is checked before the pack is
// touched: a refusal leaves it as it was.
#include "tools/pak/Pak_commands.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "base/Whole_file.h"
#include "resources/Mesh_record.h"
#include "resources/Model_writer.h"
#include "resources/Pak.h"
#include "tools/pak/Obj_pictures.h"
#include "tools/pak/Obj_reader.h"
#include "tools/pak/Pak_models.h"
#include "tools/pak/Pak_io.h"

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

// Empty when the arguments read; else what is wrong with them.
std::string parse_options(const Pak_commands::Args& a, Options& o)
{
    std::vector<std::string> plain;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == "--replace") {
            o.replace = true;
        } else if (a[i] == "--allow-outside") {
            o.allow_outside = true;
        } else if (a[i] == "--up") {
            if (i + 1 >= a.size() || (a[i + 1] != "y" && a[i + 1] != "z")) return "--up takes y or z";
            o.y_up = a[++i] == "y";
        } else if (a[i] == "--scale") {
            errno = 0;
            char* end = nullptr;
            const char* given = i + 1 < a.size() ? a[++i].c_str() : "";
            o.scale = std::strtod(given, &end);
            if (errno || !*given || *end || !std::isfinite(o.scale) || o.scale == 0)
                return "--scale takes a finite number, not 0";
        } else {
            plain.push_back(a[i]);
        }
    }
    if (plain.size() != 3) return "takes PACK ENTRY FILE.obj, " + std::to_string(plain.size()) + " given";
    o.pack = plain[0], o.entry = plain[1], o.obj = plain[2];
    return "";
}

std::string texture_name(const std::string& material)
{
    return Pak_io::has_flags(material) ? material : "#_" + material;
}

bool refuse(const std::string& file, const std::string& what)
{
    Pak_io::problem(file, what);
    return false;
}

// What one import will do, gathered before the pack is touched.
struct Import {
    const Options& o;
    const Pak& pak;
    Pak_models models;
    std::vector<Entry> entries;                // the model first, then its pictures
    std::vector<std::string> notes;            // said once the pack holds them
    std::set<std::string> taken;               // entry names given so far
    std::map<std::string, std::string> made;  // made pictures, by flags and colour
    std::vector<std::string> dropped;          // pictures only the replaced model named
};

// A name the pack holds is refused unless --replace, as pak add does.
bool name_allowed(const std::string& name, Import& im)
{
    const Options& o = im.o;
    if (name.size() > size_t(Pak::max_name_length))
        return refuse(o.obj, "name " + Pak_io::quoted(name) + " is longer than 127 bytes");
    if (name.empty() || name.find('\0') != std::string::npos)
        return refuse(o.obj, "name " + Pak_io::quoted(name) + " is empty or holds a NUL byte");
    if (!im.taken.insert(name).second) return refuse(o.obj, "two materials make the name " + Pak_io::quoted(name));
    if (Pak_io::index_of(im.pak, name) >= 0 && !o.replace)
        return refuse(o.pack, "already holds an entry " + Pak_io::quoted(name) + " (--replace replaces it)");
    return true;
}

// A picture for a material that names none (or one not there). The pack's
// own of that name serves, and a line says so, unless --replace is given
// and it is a square import-obj made that no other model names: that one is
// made again, in the colour the material has now. Materials of one colour
// and the same drawing flags share the first one's picture: `name` becomes
// its name.
bool made_picture(const Obj_reader::Mesh& m, const std::string& why, std::string& name, Import& im)
{
    const std::string material = im.o.obj + ": material " + Pak_io::quoted(m.material) + " " + why + ": ";
    const std::vector<std::string> others = im.models.naming(name, im.o.entry);
    const int32_t own = Pak_io::index_of(im.pak, name);
    if (own >= 0 && !(im.o.replace && others.empty() && Obj_pictures::is_square(im.pak.entry(own)))) {
        im.notes.push_back(material + "the pack's own " + Pak_io::quoted(name) + " is kept" +
                           (others.empty() ? "" : ", as model " + Pak_io::quoted(others[0]) + " names it too") +
                           " (pak add --replace replaces it)");
        return true;
    }
    uint8_t rgb[3];
    Obj_pictures::colour_of(m, rgb);
    const std::string colour = std::to_string(rgb[0]) + " " + std::to_string(rgb[1]) + " " + std::to_string(rgb[2]);
    const std::string key = name.substr(0, 2) + colour;
    const auto same = im.made.find(key);
    if (same != im.made.end()) {
        name = same->second;
        im.notes.push_back(material + "shares " + Pak_io::quoted(name) + ", of the same colour and flags");
        return true;
    }
    if (!name_allowed(name, im)) return false;
    std::vector<uint8_t> png = Obj_pictures::square(rgb);
    if (png.empty()) return refuse(im.o.obj, material + "its picture " + Pak_io::quoted(name) + " cannot be made a PNG");
    im.entries.push_back(Entry{name, std::move(png)});
    im.made.emplace(key, name);
    im.notes.push_back(material + "made " + Pak_io::quoted(name) + ", a square of " +
                       (m.has_diffuse ? "its colour" : "light grey") + " (RGB " + colour + "; pak add --replace replaces it)");
    return true;
}

// The pictures of the model --replace replaces that neither another model
// nor the new one names: nothing would show them any more.
void drop_leftovers(const std::vector<std::string>& names, Import& im)
{
    if (!im.o.replace) return;
    for (const std::string& picture : im.models.pictures_of(im.o.entry))
        if (im.models.naming(picture, im.o.entry).empty() && std::count(names.begin(), names.end(), picture) == 0 &&
            Pak_io::index_of(im.pak, picture) >= 0)
            im.dropped.push_back(picture);
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

// Puts the entries in and the dropped pictures out; false when the pack
// would outgrow what is read.
bool store(Pak& pak, const Import& im)
{
    for (const Entry& e : im.entries) {
        const int32_t at = Pak_io::index_of(pak, e.name);
        const bool stored = at >= 0 ? pak.replace_data(at, e.bytes.data(), int32_t(e.bytes.size()))
                                    : pak.add_data(e.name, e.bytes.data(), int32_t(e.bytes.size()));
        if (!stored) return refuse(im.o.pack, "entry " + Pak_io::quoted(e.name) + " cannot be stored");
    }
    for (const std::string& name : im.dropped) Pak_io::remove_all(pak, name);
    if (pak.saved_size() > Pak::max_pack_size)
        return refuse(im.o.pack, "would grow past 1 GiB, more than a pack may hold");
    return true;
}

// One line for what the pack now holds.
std::string written_text(const Obj_reader& obj, const Import& im)
{
    size_t triangles = 0;
    for (const Obj_reader::Mesh& m : obj.meshes) triangles += m.triangles;
    const size_t pictures = im.entries.size() - 1;
    return im.o.pack + ": model " + Pak_io::quoted(im.o.entry) + " written, " +
           Pak_io::count(obj.meshes.size(), "mesh", "meshes") + " of " +
           Pak_io::count(triangles, "triangle", "triangles") +
           (pictures ? ", and " + Pak_io::count(pictures, "picture", "pictures") : "");
}

// The model and its images checked, made and put in the pack; the OBJ's
// arrays and the entries' bytes are gone before the pack is saved.
bool import_into(Pak& pak, Import& im)
{
    const Options& o = im.o;
    Obj_reader obj;
    if (!obj.read(o.obj, o.scale, o.allow_outside, room_for_triangles(pak, o.entry))) {
        Pak_io::problem(obj.problem_file, obj.problem);
        return false;
    }
    if (!name_allowed(o.entry, im)) return false;
    std::vector<std::string> names;
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
            const std::string why = missing ? "names the picture " + Pak_io::quoted(m.texture_path) + ", which is not there"
                                            : "names no picture";
            if (!made_picture(m, why, names.back(), im)) return false;
            continue;
        }
        if (!name_allowed(names.back(), im) || !Obj_pictures::from_file(m, read, bytes, im.notes)) return false;
        im.entries.push_back(Entry{names.back(), std::move(bytes)});
    }
    if (!model_entry(obj, names, o, im.entries)) return false;
    drop_leftovers(names, im);
    im.notes.push_back(written_text(obj, im));
    obj = Obj_reader();
    return store(pak, im);
}
}  // namespace

const char* const Pak_commands::import_obj_arguments =
    "[--replace] [--allow-outside] PACK ENTRY FILE.obj [--scale S] [--up y|z]";

int Pak_commands::import_obj(const Args& a)
{
    Options o;
    const std::string wrong = parse_options(a, o);
    if (!wrong.empty()) {
        std::fprintf(stderr, "pak: import-obj %s; usage: pak import-obj %s\n", wrong.c_str(), import_obj_arguments);
        return Pak_io::usage_error;
    }
    Pak pak;
    if (!Pak_io::load_for_rewrite(pak, o.pack, true)) return Pak_io::failure;
    // What was made, scaled and written is said once the pack holds it.
    Import im{o, pak, Pak_models(pak), {}, {}, {}, {}, {}};
    if (!import_into(pak, im) || !Pak_io::save(pak, o.pack)) return Pak_io::failure;
    for (const std::string& note : im.notes) std::printf("%s\n", note.c_str());
    if (!im.dropped.empty())
        std::printf("%s: %s that only the old %s named taken out: %s\n", o.pack.c_str(),
                    Pak_io::count(im.dropped.size(), "picture", "pictures").c_str(), Pak_io::quoted(o.entry).c_str(),
                    Pak_io::quoted_list(im.dropped).c_str());
    return Pak_io::ok;
}
