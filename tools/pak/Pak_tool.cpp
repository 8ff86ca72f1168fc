#include "tools/pak/Pak_tool.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "resources/Byte_cursor.h"
#include "resources/Image_rgba.h"
#include "resources/Mesh.h"
#include "resources/Model_header.h"
#include "resources/Pak.h"
#include "texgen/Plasma.h"
#include "texgen/Procedural_name.h"
#include "tools/common/Png_writer.h"

namespace {
const int ok = 0;
const int failure = 1;
const int usage_error = 2;

using Args = std::vector<std::string>;

void problem(const std::string& file, const std::string& what)
{
    std::fprintf(stderr, "pak: %s: %s\n", file.c_str(), what.c_str());
}

// Reads a pack for a command; a truncated directory is reported (one line)
// but its complete entries are still there for the caller.
bool load(Pak& pak, const std::string& path, bool& truncated)
{
    if (!pak.read_file(path)) {
        problem(path, "cannot be read (missing, not a regular file, or unreadable)");
        return false;
    }
    truncated = !pak.stop_reason().empty();
    if (truncated) problem(path, "broken pack, reading stopped: " + pak.stop_reason());
    return true;
}

// What a model entry holds, read without GL.
struct Model_reading {
    bool is_model = false;       // the header fits
    int32_t declared = 0;        // mesh count in the header (before capping)
    std::vector<Mesh> meshes;
    std::string stopped;         // empty: every declared mesh was read
};

Model_reading read_model(const Pak_entry& e)
{
    Model_reading r;
    Byte_cursor peek(e.data, size_t(e.size));
    uint8_t marker = 0;
    if (!peek.read_u8(marker) || (marker == 0xFF && !peek.skip(4)) || !peek.read_i32(r.declared)) return r;
    r.is_model = true;
    Byte_cursor c(e.data, size_t(e.size));
    int32_t n = Model_header::read(c);
    for (int32_t i = 0; i < n; ++i) {
        Mesh m;
        const char* why = nullptr;
        if (!m.read_record(c, &why)) {
            r.stopped = "mesh " + std::to_string(i) + ": " + why;
            return r;
        }
        r.meshes.push_back(m);
    }
    if (r.declared > 0 && n < r.declared)
        r.stopped = "the header counts " + std::to_string(r.declared) + " meshes, the entry ends after " +
                    std::to_string(n);
    return r;
}

bool looks_like_model(const Model_reading& r, int32_t size)
{
    // An entry counts as a model when its header and every record read and
    // the records use the entry to its last byte but for trailing bytes that
    // could not be another record.
    return r.is_model && r.stopped.empty() && r.declared >= 0 && size >= 5;
}

std::string kind_of(const Pak_entry& e)
{
    Image_rgba image;
    if (image.decode(e.data, e.size))
        return "image " + std::to_string(image.width()) + "x" + std::to_string(image.height());
    Model_reading r = read_model(e);
    if (looks_like_model(r, e.size)) return "model, " + std::to_string(r.meshes.size()) + " meshes";
    return "other";
}

int cmd_list(const Args& a)
{
    Pak pak;
    bool truncated = false;
    if (!load(pak, a[0], truncated)) return failure;
    for (int32_t i = 0; i < pak.entry_count(); ++i) {
        Pak_entry e = pak.entry(i);
        std::printf("%-40s %10d  %s\n", pak.name(i).c_str(), e.size, kind_of(e).c_str());
    }
    return truncated ? failure : ok;
}

int cmd_create(const Args& a)
{
    Pak pak;
    int result = ok;
    for (size_t i = 1; i < a.size(); ++i) {
        if (a[i].size() > size_t(Pak::max_name_length)) {
            problem(a[i], "name longer than 127 bytes");
            result = failure;
        } else if (!pak.add_file(a[i])) {
            problem(a[i], "cannot be read");
            result = failure;
        }
    }
    if (result != ok) return result;
    if (!pak.save(a[0])) {
        problem(a[0], "cannot be written");
        return failure;
    }
    return ok;
}

int cmd_add(const Args& a)
{
    const std::string& pack_path = a[0];
    Pak pak;
    bool truncated = false;
    if (!load(pak, pack_path, truncated)) return failure;
    if (truncated) {
        problem(pack_path, "not rewritten: the entries after the break would be lost");
        return failure;
    }
    std::ifstream in(a[2], std::ios::binary);
    if (!in) {
        problem(a[2], "cannot be read");
        return failure;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || bytes.size() > size_t(INT32_MAX)) {
        problem(a[2], "cannot be read");
        return failure;
    }
    if (!pak.add_data(a[1], bytes.data(), int32_t(bytes.size()))) {
        problem(pack_path, "entry name \"" + a[1] + "\" is longer than 127 bytes");
        return failure;
    }
    // Write beside the pack, then rename over it: a failed write leaves the
    // old pack as it was.
    std::string temp = pack_path + ".tmp" + std::to_string(getpid());
    if (!pak.save(temp)) {
        std::remove(temp.c_str());
        problem(temp, "cannot be written");
        return failure;
    }
#ifdef _WIN32
    // Windows' rename refuses an existing target; MoveFileEx replaces it.
    const bool replaced = MoveFileExA(temp.c_str(), pack_path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!replaced) errno = EACCES;
#else
    const bool replaced = std::rename(temp.c_str(), pack_path.c_str()) == 0;
#endif
    if (!replaced) {
        std::remove(temp.c_str());
        problem(pack_path, std::string("cannot be replaced: ") + std::strerror(errno));
        return failure;
    }
    return ok;
}

int cmd_extract(const Args& a)
{
    Pak pak;
    bool truncated = false;
    if (!load(pak, a[0], truncated)) return failure;
    int result = truncated ? failure : ok;
    for (int32_t i = 0; i < pak.entry_count(); ++i) {
        const std::string& name = pak.name(i);
        if (!Pak::safe_entry_path(name)) {
            problem(a[0], "entry \"" + name + "\" refused: it would land outside " + a[1]);
            result = failure;
        } else if (!pak.extract_entry(i, a[1])) {
            problem(a[1] + name, "cannot be written");
            result = failure;
        }
    }
    return result;
}

int cmd_info(const Args& a)
{
    Pak pak;
    bool truncated = false;
    if (!load(pak, a[0], truncated)) return failure;
    Pak_entry e = pak.find(a[1]);
    if (e.empty()) {
        problem(a[0], "no entry \"" + a[1] + "\"");
        return failure;
    }
    Model_reading r = read_model(e);
    if (!r.is_model) {
        problem(a[0], "entry \"" + a[1] + "\" is too short to be a model");
        return failure;
    }
    std::printf("%s: %d meshes declared, %zu read\n", a[1].c_str(), r.declared, r.meshes.size());
    for (size_t i = 0; i < r.meshes.size(); ++i) {
        const Mesh& m = r.meshes[i];
        double lo[3] = {DBL_MAX, DBL_MAX, DBL_MAX}, hi[3] = {-DBL_MAX, -DBL_MAX, -DBL_MAX};
        for (size_t k = 0; k < size_t(m.triangle_count) * 9; ++k) {
            double v = Byte_cursor::f64_at(m.positions, 8 * k);
            lo[k % 3] = std::min(lo[k % 3], v);
            hi[k % 3] = std::max(hi[k % 3], v);
        }
        std::string flags = m.alpha_test ? "alpha test" : "no alpha test";
        if (m.blended) flags += ", blended";
        if (m.is_procedural()) flags += ", procedural";
        std::printf("  mesh %zu: texture \"%s\" (%s), %d triangles", i, m.texture_name, flags.c_str(),
                    m.triangle_count);
        if (m.triangle_count > 0)
            std::printf(", box (%g, %g, %g) to (%g, %g, %g)", lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
        std::printf("\n");
    }
    if (!r.stopped.empty()) {
        std::printf("  reading stopped: %s\n", r.stopped.c_str());
        problem(a[0], "entry \"" + a[1] + "\": " + r.stopped);
        return failure;
    }
    return truncated ? failure : ok;
}

bool parse_int32(const std::string& text, int32_t& out)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno || *end || v < INT32_MIN || v > INT32_MAX) return false;
    out = int32_t(v);
    return true;
}

int cmd_texgen(const Args& a)
{
    Procedural_name name;
    if (!name.parse(a[0].c_str())) {
        problem(a[0], "not a procedural texture name (flags, kind, WIDTHxHEIGHT within 1..4096, parameters)");
        return failure;
    }
    if (name.kind != "Plasma") {
        problem(a[0], "unknown kind \"" + name.kind + "\" (only Plasma)");
        return failure;
    }
    int32_t ms = 0;
    if (!parse_int32(a[1], ms)) {
        problem(a[1], "not a time in milliseconds");
        return usage_error;
    }
    Plasma plasma(name.width, name.height, name.parameters.c_str(), Plasma::Image_only{});
    plasma.compute(ms);
    if (!Png_writer::write_file(a[2], plasma.width, plasma.height, plasma.pixels)) {
        problem(a[2], "cannot be written");
        return failure;
    }
    return ok;
}

int cmd_verify(const Args& a)
{
    std::string dir = a[0];
    if (!dir.empty() && dir.back() != '/') dir += '/';
    int problems = 0;
    auto report = [&problems](const std::string& file, const std::string& what) {
        problem(file, what);
        ++problems;
    };
    for (const Pak_tool::Required_pack& req : Pak_tool::required_packs()) {
        std::string path = dir + req.pack;
        Pak pak;
        if (!pak.read_file(path)) {
            report(path, "missing or unreadable");
            continue;
        }
        if (!pak.stop_reason().empty()) report(path, "broken pack: " + pak.stop_reason());
        std::map<std::string, bool> decoded;  // pack textures checked so far
        for (const char* entry : req.entries) {
            Pak_entry e = pak.find(entry);
            if (e.empty()) {
                report(path, std::string("no entry \"") + entry + "\"");
                continue;
            }
            Model_reading r = read_model(e);
            if (!r.is_model) {
                report(path, std::string("entry \"") + entry + "\" is too short to be a model");
                continue;
            }
            if (!r.stopped.empty()) report(path, std::string("model \"") + entry + "\": " + r.stopped);
            for (const Mesh& m : r.meshes) {
                std::string tex = m.texture_name;
                if (m.is_procedural()) {
                    Procedural_name name;
                    if (!name.parse(m.texture_name) || name.kind != "Plasma")
                        report(path, std::string("model \"") + entry + "\": procedural texture \"" + tex +
                                         "\" cannot be made");
                    continue;
                }
                auto seen = decoded.find(tex);
                if (seen == decoded.end()) {
                    Pak_entry image_bytes = pak.find(tex);
                    Image_rgba image;
                    bool good = !image_bytes.empty() && image.decode(image_bytes.data, image_bytes.size);
                    seen = decoded.emplace(tex, good).first;
                    if (image_bytes.empty())
                        report(path, std::string("model \"") + entry + "\": texture \"" + tex + "\" is missing");
                    else if (!good)
                        report(path, std::string("model \"") + entry + "\": texture \"" + tex +
                                         "\" does not decode");
                }
            }
        }
    }
    if (problems) {
        std::fprintf(stderr, "pak: %s: %d problem%s\n", a[0].c_str(), problems, problems == 1 ? "" : "s");
        return failure;
    }
    std::printf("%s: every pack and entry is in order\n", a[0].c_str());
    return ok;
}

struct Command {
    const char* name;
    const char* arguments;
    const char* purpose;
    size_t min_args;
    size_t max_args;  // 0: no upper limit
    int (*run)(const Args&);
};

const Command commands[] = {
    {"list", "PACK", "every entry: name, size, kind (model, image WxH, other)", 1, 1, cmd_list},
    {"create", "OUT FILE...", "a new pack of the files, each named by its path as given", 2, 0, cmd_create},
    {"add", "PACK NAME FILE", "append FILE as entry NAME (the pack is rewritten safely)", 3, 3, cmd_add},
    {"extract", "PACK PREFIX", "every entry to PREFIX followed by its name", 2, 2, cmd_extract},
    {"info", "PACK ENTRY", "a model's meshes: texture, flags, triangles, bounding box", 2, 2, cmd_info},
    {"texgen", "NAME MILLISECONDS OUT.png", "the image of a procedural texture at that time", 3, 3, cmd_texgen},
    {"verify", "DIR", "every pack and entry the saver needs is present and reads", 1, 1, cmd_verify},
};

void usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const Command& c : commands) {
        std::string call = std::string(c.name) + " " + c.arguments;
        std::fprintf(stderr, "  pak %-34s %s\n", call.c_str(), c.purpose);
    }
}
}  // namespace

const std::vector<Pak_tool::Required_pack>& Pak_tool::required_packs()
{
    static const std::vector<Required_pack> table = {
        {"main.pak", {"tree", "fon", "nn"}},
        {"butterfly1.pak", {"krilo", "brushko"}},
        {"butterfly2.pak", {"krilo", "brushko"}},
        {"butterfly3.pak", {"krilo", "brushko"}},
        {"butterfly4.pak", {"krilo", "brushko"}},
        {"butterfly5.pak", {"krilo", "brushko"}},
    };
    return table;
}

int Pak_tool::run(int argc, char** argv)
{
    if (argc < 2) {
        usage();
        return usage_error;
    }
    std::string name = argv[1];
    for (const Command& c : commands) {
        if (name != c.name) continue;
        Args args(argv + 2, argv + argc);
        if (args.size() < c.min_args || (c.max_args && args.size() > c.max_args)) {
            std::fprintf(stderr, "usage: pak %s %s\n", c.name, c.arguments);
            return usage_error;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "pak: unknown command \"%s\"\n", name.c_str());
    usage();
    return usage_error;
}
