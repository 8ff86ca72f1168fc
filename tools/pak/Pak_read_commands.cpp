// The commands that only read packs: list, info, verify.
#include "tools/pak/Pak_commands.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <map>

#include "resources/Image_rgba.h"
#include "resources/Model.h"
#include "resources/Pack_names.h"
#include "resources/Pak.h"
#include "texgen/Procedural_name.h"
#include "tools/pak/Pak_io.h"
#include "tools/pak/Picture_check.h"

namespace {
using Args = Pak_commands::Args;

Model read_model(const Pak_entry& e) { return Model::read(e.data, size_t(e.size)); }

// Why the reading of a model stopped, for people; empty when it did not.
std::string stop_text(const Model& m)
{
    if (m.status.ok()) return "";
    std::string where = text(m.status.reason);
    if (m.status.reason == Read_reason::fewer_meshes_than_counted)
        return "cut short: " + where + " (" + std::to_string(m.meshes.size()) + " of " + std::to_string(m.declared) +
               ")";
    return "mesh " + std::to_string(m.meshes.size()) + ": " + where + " (byte " + std::to_string(m.status.offset) +
           ")";
}

std::string kind_of(const Pak_entry& e)
{
    // Sized from the header: a picture too large to decode is still named.
    const Image_rgba::Header h = Image_rgba::read_header(e.data, e.size);
    if (h.format && h.width > 0 && !Image_rgba::size_allowed(h))
        return "image " + std::to_string(h.width) + "x" + std::to_string(h.height) + " (too large to decode)";
    Image_rgba image;
    if (image.decode(e.data, e.size))
        return "image " + std::to_string(image.width()) + "x" + std::to_string(image.height());
    // An entry counts as a model when its header and every record read.
    Model m = read_model(e);
    if (m.has_header && m.status.ok() && m.declared >= 0 && e.size >= 5)
        return "model, " + Pak_io::count(m.meshes.size(), "mesh", "meshes");
    return "other";
}

void print_mesh(size_t i, const Mesh_record& m)
{
    double lo[3] = {DBL_MAX, DBL_MAX, DBL_MAX}, hi[3] = {-DBL_MAX, -DBL_MAX, -DBL_MAX};
    for (int32_t t = 0; t < m.triangle_count; ++t)
        for (size_t k = 0; k < 3; ++k) {
            const Mesh_record::Corner c = m.corner(t, k);
            const double v[3] = {c.x, c.y, c.z};
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], v[a]);
                hi[a] = std::max(hi[a], v[a]);
            }
        }
    std::string flags = m.alpha_test ? "alpha test" : "no alpha test";
    if (m.blended) flags += ", blended";
    if (m.is_procedural()) flags += ", procedural";
    std::printf("  mesh %zu: texture \"%s\" (%s), %s", i, m.texture_name, flags.c_str(),
                Pak_io::count(size_t(m.triangle_count), "triangle", "triangles").c_str());
    if (m.triangle_count > 0)
        std::printf(", box (%g, %g, %g) to (%g, %g, %g)", lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
    std::printf("\n");
}

// Checks one model the saver needs: present, readable, every texture there
// (procedural ones makeable). Each problem goes to report, each warning
// (a picture some renderers refuse) to warn.
template <typename Report, typename Warn>
void verify_model(const Pak& pak, const char* entry, std::map<std::string, bool>& decoded, Report report, Warn warn)
{
    const std::string model = std::string("model \"") + entry + "\": ";
    Pak_entry e = pak.find(entry);
    if (e.empty()) return report(std::string("no entry \"") + entry + "\"");
    Model r = read_model(e);
    if (!r.has_header) return report(std::string("entry \"") + entry + "\" is too short to be a model");
    if (!r.status.ok()) report(model + stop_text(r));
    for (const Mesh_record& m : r.meshes) {
        const std::string tex = m.texture_name;
        if (m.is_procedural()) {
            Procedural_name name;
            if (!name.parse(m.texture_name) || name.kind != "Plasma")
                report(model + "procedural texture \"" + tex + "\" cannot be made");
            continue;
        }
        if (decoded.count(tex)) continue;
        Pak_entry image_bytes = pak.find(tex);
        const std::string bad =
            image_bytes.empty() ? "is missing" : Picture_check::problem(image_bytes.data, size_t(image_bytes.size));
        decoded.emplace(tex, bad.empty());
        if (!bad.empty()) report(model + "texture \"" + tex + "\" " + bad);
        const std::string warning = bad.empty() ? Picture_check::upload_warning(image_bytes.data, size_t(image_bytes.size)) : "";
        if (!warning.empty()) warn("warning: " + model + "texture \"" + tex + "\" " + warning);
    }
}

// Checks one pack the saver opens and the entries it asks of it.
int verify_pack(const std::string& path, const char* const* entries, size_t entry_count)
{
    int problems = 0;
    auto report = [&problems, &path](const std::string& what) {
        Pak_io::problem(path, what);
        ++problems;
    };
    Pak pak;
    const Read_reason refused = pak.read_file(path);
    if (refused != Read_reason::ok) {
        report(std::string("missing or unreadable (") + text(refused) + ")");
        return problems;
    }
    if (!pak.status().ok()) report("broken pack: " + Pak_io::stop_text(pak));
    Pak_io::warn_trailing(pak, path);
    std::map<std::string, bool> decoded;  // pack textures checked so far
    const auto warn = [&path](const std::string& what) { Pak_io::problem(path, what); };
    for (size_t i = 0; i < entry_count; ++i) verify_model(pak, entries[i], decoded, report, warn);
    return problems;
}
}  // namespace

int Pak_commands::list(const Args& a)
{
    Pak pak;
    bool truncated = false;
    if (!Pak_io::load(pak, a[0], truncated)) return Pak_io::failure;
    for (int32_t i = 0; i < pak.entry_count(); ++i) {
        Pak_entry e = pak.entry(i);
        std::printf("%-40s %10d  %s\n", pak.name(i).c_str(), e.size, kind_of(e).c_str());
    }
    return truncated ? Pak_io::failure : Pak_io::ok;
}

int Pak_commands::info(const Args& a)
{
    Pak pak;
    bool truncated = false;
    if (!Pak_io::load(pak, a[0], truncated)) return Pak_io::failure;
    Pak_entry e = pak.find(a[1]);
    if (e.empty()) {
        Pak_io::problem(a[0], "no entry \"" + a[1] + "\"");
        return Pak_io::failure;
    }
    // A picture's bytes read as a model would give a nonsense mesh count.
    if (Image_rgba::read_header(e.data, e.size).format) {
        Pak_io::problem(a[0], "entry \"" + a[1] + "\" is a picture (" + kind_of(e) +
                                  "), not a model: info describes models");
        return Pak_io::failure;
    }
    Model r = read_model(e);
    if (!r.has_header) {
        Pak_io::problem(a[0], "entry \"" + a[1] + "\" is too short to be a model");
        return Pak_io::failure;
    }
    std::printf("%s: %s declared, %zu read\n", a[1].c_str(),
                (std::to_string(r.declared) + (r.declared == 1 ? " mesh" : " meshes")).c_str(), r.meshes.size());
    for (size_t i = 0; i < r.meshes.size(); ++i) print_mesh(i, r.meshes[i]);
    if (!r.status.ok()) {
        std::printf("  reading stopped: %s\n", stop_text(r).c_str());
        Pak_io::problem(a[0], "entry \"" + a[1] + "\": " + stop_text(r));
        return Pak_io::failure;
    }
    return truncated ? Pak_io::failure : Pak_io::ok;
}

int Pak_commands::verify(const Args& a)
{
    // A pack given in place of its folder would only give a "missing" line
    // for each of the six packs.
    std::error_code ec;
    const std::filesystem::file_status given = std::filesystem::status(a[0], ec);
    if (!std::filesystem::is_directory(given)) {
        const bool there = std::filesystem::exists(given);
        Pak_io::problem(a[0], std::string(there ? "not a folder" : "no such folder") +
                                  ": verify takes the installation folder, the one holding main.pak");
        return there ? Pak_io::usage_error : Pak_io::failure;
    }
    std::string dir = a[0];
    if (!dir.empty() && dir.back() != '/') dir += '/';
    int problems = verify_pack(dir + Pack_names::main_pack, Pack_names::main_entries, std::size(Pack_names::main_entries));
    for (const char* pack : Pack_names::butterfly_packs)
        problems += verify_pack(dir + pack, Pack_names::butterfly_entries,
                                std::size(Pack_names::butterfly_entries));
    if (problems) {
        std::fprintf(stderr, "pak: %s: %d problem%s\n", a[0].c_str(), problems, problems == 1 ? "" : "s");
        return Pak_io::failure;
    }
    std::printf("%s: every pack and entry is in order\n", a[0].c_str());
    return Pak_io::ok;
}
