#include "tools/config/Cfg_file.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sstream>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/Atomic_file.h"
#include "base/Byte_cursor.h"
#include "base/Whole_file.h"
#include "platform/Platform.h"

namespace {

const int32_t format_number = 1;

// A temporary file this young may belong to a run on another machine that
// shares the folder, where its pid means nothing.
const time_t stale_after_seconds = 10;

#ifdef _WIN32
using Pid = DWORD;
Pid own_pid() { return GetCurrentProcessId(); }
#else
using Pid = pid_t;
Pid own_pid() { return getpid(); }
#endif

// Windows takes '/' as a separator too.
std::string folder_of(const std::string& path)
{
    const size_t slash = path.find_last_of(Platform::path_separator == '\\' ? "\\/" : "/");
    return slash == std::string::npos ? std::string(".") + Platform::path_separator : path.substr(0, slash + 1);
}

// Why a file read whole does not hold a record of our format.
std::string invalid_reason(const std::string& path)
{
    std::vector<uint8_t> bytes;
    Whole_file::read(path, bytes, Cfg_record::max_file_size);
    Byte_cursor c(bytes.data(), bytes.size());
    int32_t version = 0;
    if (!c.read_i32(version))
        return "is cut short: " + std::to_string(bytes.size()) + " bytes, too few for its format number";
    if (version != format_number)
        return "has format number " + std::to_string(version) + ", not " + std::to_string(format_number);
    return "is cut short: it ends after " + std::to_string(bytes.size()) + " bytes, before its last field";
}

// The pid in "cfg.tmp-<pid>-XXXXXX", or 0 when the name is not that.
Pid temp_owner(const std::string& name)
{
    const std::string prefix = Cfg_file::temp_prefix;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    size_t i = prefix.size();
    long long pid = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 1000000000)
        pid = pid * 10 + (name[i++] - '0');
    if (i == prefix.size() || i >= name.size() || name[i] != '-' || name.size() - i - 1 != 6) return 0;
    return Pid(pid);
}

}  // namespace

Cfg_file::Source Cfg_file::read(const std::string& path, Cfg_record& record, std::string& why)
{
    switch (record.read_file(path, format_number).reason) {
    case Read_reason::ok:
        return Source::File;
    case Read_reason::other_version:
    case Read_reason::fields_past_end:
        why = invalid_reason(path);
        return Source::Invalid;
    case Read_reason::missing:
        return Source::Missing;
    default:
        return Source::Unreadable;
    }
}

#ifdef _WIN32
namespace {

// OpenProcess fails with ERROR_INVALID_PARAMETER only when no such process
// exists; a process we may not open is alive.
bool process_gone(DWORD pid)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

uint64_t ticks_of(const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

}  // namespace

int Cfg_file::remove_stale_temporaries(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + temp_prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FILETIME now_time;
    GetSystemTimeAsFileTime(&now_time);
    const uint64_t now = ticks_of(now_time);
    const uint64_t stale_ticks = uint64_t(stale_after_seconds) * 10000000;  // in 100 ns
    int removed = 0;
    do {
        const Pid owner = temp_owner(found.cFileName);
        if (owner == 0 || owner == own_pid() || !process_gone(owner)) continue;
        // Only plain files: never a folder, nor whatever a link leads to.
        if (found.dwFileAttributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
            continue;
        const uint64_t written = ticks_of(found.ftLastWriteTime);
        if (written > now || now - written < stale_ticks) continue;
        if (DeleteFileA((folder + found.cFileName).c_str())) ++removed;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return removed;
}
#else
int Cfg_file::remove_stale_temporaries(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    const time_t now = time(nullptr);
    while (const dirent* e = readdir(dir)) {
        const Pid owner = temp_owner(e->d_name);
        // kill(pid, 0) fails with ESRCH only when no such process exists.
        if (owner <= 0 || owner == own_pid() || kill(owner, 0) == 0 || errno != ESRCH) continue;
        struct stat st;
        if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            now - st.st_mtime < stale_after_seconds)
            continue;
        if (unlinkat(dirfd(dir), e->d_name, 0) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}

#endif

bool Cfg_file::write(const std::string& path, const Cfg_record& record, std::string& problem)
{
    std::ostringstream stream;
    record.write(stream, format_number);
    const std::string bytes = stream.str();

    // The temporary file lies beside "cfg", so the rename stays on one file
    // system and replaces the old file in one step; its name tells which
    // run made it, so one left by a killed run can be told from a live one.
    const std::string folder = folder_of(path);
    remove_stale_temporaries(folder);
    const std::string temp = folder + temp_prefix + std::to_string(own_pid()) + "-XXXXXX";
    return Atomic_file::replace(path, temp, bytes.data(), bytes.size(), 0644, problem);
}
