#include "tools/pak/Pak_io.h"

#include <cstdio>
#include <filesystem>

#include "base/Whole_file.h"
#include "resources/Pak.h"

void Pak_io::problem(const std::string& file, const std::string& what)
{
    std::fprintf(stderr, "pak: %s: %s\n", file.c_str(), what.c_str());
}

std::string Pak_io::quoted(const std::string& name) { return "\"" + name + "\""; }

std::string Pak_io::trailing_text(const Pak& pak)
{
    return std::to_string(pak.trailing_bytes()) + " bytes after the last of its " +
           std::to_string(pak.entry_count()) + " listed entries";
}

std::string Pak_io::stop_text(const Pak& pak)
{
    const Read_status& s = pak.status();
    const std::string where = " (byte " + std::to_string(s.offset) + ")";
    if (s.reason == Read_reason::count_past_end) return text(s.reason) + where;
    return "entry " + std::to_string(pak.entry_count()) + ": " + text(s.reason) + where;
}

bool Pak_io::read_input(const std::string& path, std::vector<uint8_t>& bytes)
{
    const Read_reason refused = Whole_file::read(path, bytes, Pak::max_pack_size);
    if (refused == Read_reason::ok) return true;
    problem(path, std::string("cannot be read (") + text(refused) + ")");
    return false;
}

void Pak_io::warn_trailing(const Pak& pak, const std::string& path)
{
    if (pak.trailing_bytes() > 0)
        problem(path, "warning: " + trailing_text(pak) + " (not read; the count may be too low)");
}

bool Pak_io::load(Pak& pak, const std::string& path, bool& truncated, bool warn)
{
    std::vector<uint8_t> bytes;
    if (!read_input(path, bytes)) return false;
    pak.read_bytes(bytes.data(), bytes.size());
    truncated = !pak.status().ok();
    // Not even one entry reads: some other file, not a pack cut short.
    if (truncated && pak.entry_count() == 0) {
        const Read_status& s = pak.status();
        if (bytes.empty())
            problem(path, "not a pack: the file is empty");
        else if (s.reason == Read_reason::count_past_end)
            problem(path, "not a pack: " + std::to_string(bytes.size()) + " bytes, too few for its entry count");
        else
            problem(path, "not a pack: its first entry does not read (" + std::string(text(s.reason)) + ", byte " +
                              std::to_string(s.offset) + ")");
        return false;
    }
    if (truncated) problem(path, "broken pack, reading stopped: " + stop_text(pak));
    if (warn) warn_trailing(pak, path);
    return true;
}

bool Pak_io::load_for_rewrite(Pak& pak, const std::string& path, bool may_be_missing)
{
    std::error_code ec;
    if (may_be_missing && std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::not_found)
        return true;
    bool truncated = false;
    if (!load(pak, path, truncated, false)) return false;
    if (truncated) {
        problem(path, "not rewritten: the entries after the break would be lost");
        return false;
    }
    if (pak.trailing_bytes() > 0) {
        problem(path, "not rewritten: " + trailing_text(pak) + " would be lost");
        return false;
    }
    return true;
}

bool Pak_io::save(const Pak& pak, const std::string& path)
{
    const Write_status status = pak.save(path);
    if (status.ok()) return true;
    problem(path, status.text());
    return false;
}

int32_t Pak_io::index_of(const Pak& pak, const std::string& name)
{
    for (int32_t i = 0; i < pak.entry_count(); ++i)
        if (pak.name(i) == name) return i;
    return -1;
}

int Pak_io::remove_all(Pak& pak, const std::string& name)
{
    int removed = 0;
    for (int32_t at; (at = index_of(pak, name)) >= 0; ++removed) pak.remove(at);
    return removed;
}

bool Pak_io::has_flags(const std::string& name)
{
    for (const char* flags : {"#_", "__", "#$", "##"})
        if (name.compare(0, 2, flags) == 0) return true;
    return false;
}

std::string Pak_io::meant(const Pak& pak, const std::string& name)
{
    const auto bare = [](const std::string& n) { return has_flags(n) ? n.substr(2) : n; };
    for (int32_t i = 0; i < pak.entry_count(); ++i)
        if (pak.name(i) != name && bare(pak.name(i)) == bare(name)) return pak.name(i);
    return "";
}

std::string Pak_io::count(size_t n, const char* one, const char* more)
{
    return std::to_string(n) + " " + (n == 1 ? one : more);
}

std::string Pak_io::quoted_list(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + quoted(name);
    return list;
}
