#include "tools/config/Cfg_file.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <vector>
#include "platform/Atomic_file.h"
#include "base/Byte_cursor.h"
#include "base/Whole_file.h"
#include "platform/Platform.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const int32_t format_number = 1;

// A temporary file this young may belong to a run on another machine that
// shares the folder, where its pid means nothing.
const time_t stale_after_seconds = 10;

// Windows takes '/' as a separator too.
std::string folder_of(const std::string& path)
{
    const size_t slash = path.find_last_of(Platform::path_separator == '\\' ? "\\/" : "/");
    return slash == std::string::npos ? std::string(".") + Platform::path_separator : path.substr(0, slash + 1);
}

// "cfg.tmp-<pid>-XXXXXX" in `folder`.
std::string temp_template(const std::string& folder)
{
    return folder + Cfg_file::temp_prefix + std::to_string(Platform::process_id()) + "-XXXXXX";
}

// Letters, digits, punctuation, blanks and line ends only: a text someone
// wrote, whose first four letters would read as a nonsense format number.
bool looks_like_text(const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes)
        if ((b < 0x20 || b > 0x7E) && b != '\t' && b != '\n' && b != '\r') return false;
    return !bytes.empty();
}

// Why a file read whole does not hold a record of our format.
std::string invalid_reason(const std::string& path)
{
    std::vector<uint8_t> bytes;
    Whole_file::read(path, bytes, Cfg_record::max_file_size);
    Byte_cursor c(bytes.data(), bytes.size());
    int32_t version = 0;
    if (looks_like_text(bytes)) return "is a text file, not a settings file";
    if (!c.read_i32(version))
        return "is cut short: " + std::to_string(bytes.size()) + " bytes, too few for its format number";
    if (version != format_number)
        return "has format number " + std::to_string(version) + ", not " + std::to_string(format_number);
    return "is cut short: it ends after " + std::to_string(bytes.size()) + " bytes, before its last field";
}

// The pid in "cfg.tmp-<pid>-XXXXXX", or 0 when the name is not that.
unsigned long temp_owner(const std::string& name)
{
    const std::string prefix = Cfg_file::temp_prefix;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    size_t i = prefix.size();
    long long pid = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 1000000000)
        pid = pid * 10 + (name[i++] - '0');
    if (i == prefix.size() || i >= name.size() || name[i] != '-' || name.size() - i - 1 != 6) return 0;
    return (unsigned long)pid;
}

// A temporary file of a run that has ended: never our own, nor one whose
// process still runs.
bool left_by_an_ended_run(const std::string& name)
{
    const unsigned long owner = temp_owner(name);
    return owner != 0 && owner != Platform::process_id() && Platform::process_gone(owner);
}

}  // namespace

Cfg_file::Source Cfg_file::read(const std::string& path, Cfg_record& record, std::string& why)
{
    std::error_code error;
    switch (record.read_file(path, format_number).reason) {
    case Read_reason::ok:
        return Source::File;
    case Read_reason::other_version:
    case Read_reason::fields_past_end:
        why = invalid_reason(path);
        return Source::Invalid;
    case Read_reason::missing:
        return Source::Missing;
    case Read_reason::not_regular:
        why = std::filesystem::is_directory(path, error) ? "is a folder, not a settings file"
                                                         : "is not a regular file, not a settings file";
        return Source::Unreadable;
    case Read_reason::too_large:
        why = "is too large to be a settings file";
        return Source::Unreadable;
    default:
        why = "cannot be read";
        return Source::Unreadable;
    }
}

int Cfg_file::remove_stale_temporaries(const std::string& folder)
{
    return Platform::remove_old_files(folder, temp_prefix, left_by_an_ended_run, stale_after_seconds);
}

// Windows refuses to replace a link (Atomic_file): there a path is its file.
Write_status Cfg_file::target(const std::string& path, std::string& file)
{
    file = path;
#ifndef _WIN32
    for (int links = 0;; ++links) {
        struct stat st;
        if (lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return Write_status();
        if (st.st_uid != 0 && st.st_uid != geteuid())
            return Write_status::failed(Write_reason::is_symbolic_link,
                                        "the link is another user's (uid " + std::to_string(st.st_uid) + ")");
        std::error_code error;
        const std::filesystem::path to = std::filesystem::read_symlink(file, error);
        if (error || links == 8)
            return Write_status::failed(Write_reason::is_symbolic_link,
                                        error ? error.message() : "too many links in a row");
        file = to.is_absolute() ? to.string() : folder_of(file) + to.string();
    }
#else
    return Write_status();
#endif
}

Write_status Cfg_file::may_write(const std::string& path)
{
    std::string file;
    const Write_status followed = target(path, file);
    return followed.ok() ? Atomic_file::may_create(temp_template(folder_of(file))) : followed;
}

Write_status Cfg_file::write(const std::string& path, const Cfg_record& record)
{
    std::string file;
    const Write_status followed = target(path, file);
    if (!followed.ok()) return followed;
    std::ostringstream stream;
    record.write(stream, format_number);
    const std::string bytes = stream.str();

    // The temporary file lies beside "cfg", so the rename stays on one file
    // system and replaces the old file in one step; its name tells which
    // run made it, so one left by a killed run can be told from a live one.
    const std::string folder = folder_of(file);
    remove_stale_temporaries(folder);
    return Atomic_file::replace(file, temp_template(folder), bytes.data(), bytes.size(), 0644);
}
