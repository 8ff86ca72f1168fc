// The commands that write: create a pack, add to one or take entries out,
// extract from one.
#include "tools/pak/Pak_commands.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/Pak.h"
#include "tools/pak/Pak_io.h"
#include "tools/pak/Pak_models.h"
#include "tools/pak/Picture_check.h"

namespace {
const int ok = Pak_io::ok;
const int failure = Pak_io::failure;
const int usage_error = Pak_io::usage_error;

void problem(const std::string& file, const std::string& what) { Pak_io::problem(file, what); }
std::string quoted(const std::string& name) { return Pak_io::quoted(name); }
}  // namespace

int Pak_commands::create(const Args& a)
{
    Pak pak;
    int result = ok;
    for (size_t i = 1; i < a.size(); ++i) {
        std::vector<uint8_t> bytes;
        if (a[i].size() > size_t(Pak::max_name_length)) {
            problem(a[i], "name longer than 127 bytes");
            result = failure;
        } else if (Pak_io::index_of(pak, a[i]) >= 0) {
            // Readers would only ever see the first of two equal names.
            problem(a[0], "entry " + quoted(a[i]) + " given twice");
            result = failure;
        } else if (!Pak_io::read_input(a[i], bytes) || !pak.add_data(a[i], bytes.data(), int32_t(bytes.size()))) {
            result = failure;
        }
    }
    if (result != ok || !Pak_io::save(pak, a[0])) return failure;
    std::printf("%s: written, %s\n", a[0].c_str(), Pak_io::count(size_t(pak.entry_count()), "entry", "entries").c_str());
    return ok;
}

int Pak_commands::add(const Args& given)
{
    Args a = given;
    const bool replace = !a.empty() && a[0] == "--replace";
    if (replace) a.erase(a.begin());
    if (a.size() != 3) {
        std::fprintf(stderr, "usage: pak add [--replace] PACK NAME FILE\n");
        return usage_error;
    }
    const std::string& pack_path = a[0];
    Pak pak;
    if (!Pak_io::load_for_rewrite(pak, pack_path)) return failure;
    if (a[1].size() > size_t(Pak::max_name_length)) {
        problem(pack_path, "entry name " + quoted(a[1]) + " is longer than 127 bytes");
        return failure;
    }
    // A new entry the garden never reads, where an entry was to be replaced,
    // would pass unnoticed: verify finds the old one in order.
    const int32_t existing = Pak_io::index_of(pak, a[1]);
    if (existing < 0 && replace) {
        const std::string meant = Pak_io::meant(pak, a[1]);
        problem(pack_path, "holds no entry " + quoted(a[1]) + " to replace" +
                               (meant.empty() ? " (without --replace, pak add adds it)"
                                              : "; it holds " + quoted(meant) +
                                                    " (a picture is read by its whole name, flags included)"));
        return failure;
    }
    std::vector<uint8_t> bytes;
    if (!Pak_io::read_input(a[2], bytes)) return failure;
    // A picture must be one both builds show, and not one that would take
    // the saver's memory to decode.
    if (Picture_check::is_picture(bytes.data(), bytes.size())) {
        const std::string refused = Picture_check::problem(bytes.data(), bytes.size());
        if (!refused.empty()) {
            problem(a[2], refused);
            return failure;
        }
        const std::string warning = Picture_check::upload_warning(bytes.data(), bytes.size());
        if (!warning.empty()) problem(a[2], "warning: " + warning);
    }
    if (existing >= 0 && !replace) {
        problem(pack_path, "already holds an entry " + quoted(a[1]) + " (pak add --replace replaces it)");
        return failure;
    }
    const bool stored = existing >= 0 ? pak.replace_data(existing, bytes.data(), int32_t(bytes.size()))
                                      : pak.add_data(a[1], bytes.data(), int32_t(bytes.size()));
    if (!stored) {
        problem(a[2], "cannot be stored");
        return failure;
    }
    if (!Pak_io::save(pak, pack_path)) return failure;
    std::printf("%s: entry %s %s, %zu bytes\n", pack_path.c_str(), quoted(a[1]).c_str(), existing >= 0 ? "replaced" : "added",
                bytes.size());
    return ok;
}

// Every name is checked before any entry goes: a name the pack does not
// hold leaves it as it was. A picture a model still names is taken out
// with a warning: the garden then draws that model without it.
int Pak_commands::remove(const Args& a)
{
    const std::string& pack_path = a[0];
    Pak pak;
    if (!Pak_io::load_for_rewrite(pak, pack_path)) return failure;
    std::vector<std::string> names;
    for (size_t i = 1; i < a.size(); ++i) {
        if (std::count(names.begin(), names.end(), a[i])) continue;
        names.push_back(a[i]);
        if (Pak_io::index_of(pak, a[i]) >= 0) continue;
        const std::string meant = Pak_io::meant(pak, a[i]);
        problem(pack_path, "holds no entry " + quoted(a[i]) + (meant.empty() ? "" : "; it holds " + quoted(meant)));
        return failure;
    }
    const Pak_models models(pak);
    for (const std::string& name : names)
        for (const std::string& model : models.naming(name))
            if (!std::count(names.begin(), names.end(), model))
                problem(pack_path, "warning: model " + quoted(model) + " names " + quoted(name) +
                                       ", which it is drawn without from now on");
    for (const std::string& name : names) Pak_io::remove_all(pak, name);
    if (!Pak_io::save(pak, pack_path)) return failure;
    std::printf("%s: %s taken out: %s\n", pack_path.c_str(), Pak_io::count(names.size(), "entry", "entries").c_str(),
                Pak_io::quoted_list(names).c_str());
    return ok;
}

namespace {
// Says why an entry was not written. The same failure met again (a folder
// this user may not write, a full disk) is counted, not said once an entry:
// report_repeated then says it once for all of them.
class Extract_report {
public:
    Extract_report(const std::string& pack, const std::string& prefix) : pack(pack), prefix(prefix) {}

    void refused(const std::string& name, const Write_status& why)
    {
        switch (why.reason) {
        case Write_reason::repeated_name:
            return problem(pack, "entry " + quoted(name) + " " + why.text());
        case Write_reason::outside_folder:
            return problem(pack, "entry " + quoted(name) + " refused: it would land outside " + prefix);
        case Write_reason::meets_symbolic_link:
            return problem(pack, "entry " + quoted(name) + " refused: its path under " + prefix +
                                     " meets a symbolic link");
        default:
            break;
        }
        for (Failure& f : failures)
            if (f.text == why.text()) {
                ++f.count;
                return;
            }
        failures.push_back(Failure{why.text(), prefix + name, 1});
    }

    void report_repeated() const
    {
        for (const Failure& f : failures)
            if (f.count == 1)
                problem(f.first, f.text);
            else
                problem(prefix, f.text + " (" + std::to_string(f.count) + " entries not written, the first " +
                                    f.first + ")");
    }

private:
    struct Failure {
        std::string text;
        std::string first;  // the path of the first entry it met
        int count;
    };
    std::string pack, prefix;
    std::vector<Failure> failures;
};
}  // namespace

int Pak_commands::extract(const Args& a)
{
    Pak pak;
    bool truncated = false;
    if (!Pak_io::load(pak, a[0], truncated)) return failure;
    Extract_report report(a[0], a[1]);
    const bool all = pak.extract_all(
        a[1], [&pak, &report](int32_t i, const Write_status& why) { report.refused(pak.name(i), why); });
    report.report_repeated();
    if (all) std::printf("%s: %s written\n", a[1].c_str(), Pak_io::count(size_t(pak.entry_count()), "entry", "entries").c_str());
    return all && !truncated ? ok : failure;
}
