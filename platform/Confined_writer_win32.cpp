// The Win32 walk: every folder below the caller's is opened without
// following a reparse point and held open, without delete sharing, until the
// file is written, so it cannot be swapped for a junction behind our back.
// The file itself is replaced as Atomic_file replaces one.
#include "platform/Confined_writer.h"

#include <windows.h>

#include <cctype>
#include <filesystem>
#include <vector>

#include "platform/Atomic_file.h"

namespace {

const char* const separators = "\\/";

std::vector<std::string> path_parts(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of(separators, start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// A part Windows would take for something else than a name in the folder:
// a stream of a file ("a:b") or a device (CON, NUL, COM1, "aux.txt", ...).
bool plain_name(const std::string& part)
{
    if (part.find(':') != std::string::npos) return false;
    std::string base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = char(std::toupper(static_cast<unsigned char>(c)));
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* d : devices)
        if (base == d) return false;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        base[3] >= '0' && base[3] <= '9')
        return false;
    return true;
}

bool is_link(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Handles closed whatever way the scope is left.
struct Handles {
    std::vector<HANDLE> held;
    Handles() = default;
    ~Handles()
    {
        for (HANDLE h : held) CloseHandle(h);
    }
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
};

}  // namespace

Write_status Confined_writer::write(const std::string& prefix, const std::string& name,
                                    const uint8_t* data, size_t size)
{
    const size_t cut = prefix.find_last_of(separators);
    std::string path = cut == std::string::npos ? ".\\" : prefix.substr(0, cut + 1);
    const std::string below = (cut == std::string::npos ? prefix : prefix.substr(cut + 1)) + name;
    const std::vector<std::string> parts = path_parts(below);
    // A name ending in a separator names no file.
    if (parts.empty() || name.empty() || name.find_last_of(separators) == name.size() - 1)
        return not_written();
    for (const std::string& part : parts)
        if (!plain_name(part)) return not_written();
    std::error_code ec;
    std::filesystem::create_directories(path, ec);

    Handles folders;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        path += parts[i];
        if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return is_link(path) ? meets_link() : not_written();
        const HANDLE folder =
            CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (folder == INVALID_HANDLE_VALUE) return is_link(path) ? meets_link() : not_written();
        folders.held.push_back(folder);
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(folder, &info)) return not_written();
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return meets_link();
        if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return not_written();
        path += '\\';
    }

    // Only a regular file is replaced: a link there is someone else's name.
    // The temporary file beside it is created with CREATE_NEW (never through
    // a link), flushed and moved over it, so a full disk leaves the old file.
    path += parts.back();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return meets_link();
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return not_written();
    }
    const Write_status status = Atomic_file::replace(path, path + ".tmp-XXXXXX", data, size, 0666);
    switch (status.reason) {
    case Write_reason::is_reparse_point: return meets_link();
    case Write_reason::is_folder: return not_written();
    default: return status;
    }
}
