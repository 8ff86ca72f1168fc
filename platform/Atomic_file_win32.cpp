// The Win32 replace: the temporary file is created with CREATE_NEW (never an
// existing file, never through a link), flushed, and moved over the old one
// with MoveFileExA, which replaces it in one step.
#define _CRT_RAND_S  // rand_s: the system's random source, for the temporary name
#include <stdlib.h>

#include "platform/Atomic_file.h"

#include <windows.h>

#include <vector>

namespace {

// The system's words for an error, without the trailing period and line end.
std::string error_text(DWORD error)
{
    char buf[256] = {0};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                   buf, sizeof buf, nullptr);
    std::string text(buf, n);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(error) : text;
}

bool write_all(HANDLE file, const unsigned char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const DWORD chunk = DWORD(size - done > 0x10000000 ? 0x10000000 : size - done);
        DWORD n = 0;
        if (!WriteFile(file, data + done, chunk, &n, nullptr)) return false;
        if (n == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += n;
    }
    return true;
}

// Replaces the trailing "XXXXXX" of `name` with random letters and digits.
bool fill_template(std::string& name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const size_t n = 6;
    if (name.size() < n || name.compare(name.size() - n, n, "XXXXXX") != 0) return false;
    for (size_t i = name.size() - n; i < name.size(); ++i) {
        unsigned value = 0;
        if (rand_s(&value) != 0) return false;
        name[i] = letters[value % (sizeof letters - 1)];
    }
    return true;
}

// An installation folder under Program Files answers a standard user, and
// an administrator without elevation, with ERROR_ACCESS_DENIED.
Write_status failed(Write_reason otherwise, DWORD error)
{
    return Write_status::failed(error == ERROR_ACCESS_DENIED ? Write_reason::not_permitted : otherwise,
                                error_text(error));
}

// Creates a new file of `temp_template`'s pattern, never an existing one and
// never through a link; its name in `temp`.
HANDLE create_temporary(const std::string& temp_template, std::string& temp, DWORD& error)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE && error == ERROR_FILE_EXISTS; ++attempt) {
        temp = temp_template;
        if (!fill_template(temp)) {
            error = ERROR_INVALID_NAME;
            break;
        }
        file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) error = GetLastError();
    }
    return file;
}

// How many names (hard links) the file at `path` has; 0 when it cannot be opened.
DWORD names_of(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info;
    const DWORD names = GetFileInformationByHandle(file, &info) ? info.nNumberOfLinks : 0;
    CloseHandle(file);
    return names;
}

}  // namespace

Write_status Atomic_file::may_create(const std::string& temp_template)
{
    std::string temp;
    DWORD error = 0;
    HANDLE file = create_temporary(temp_template, temp, error);
    if (file == INVALID_HANDLE_VALUE) return failed(Write_reason::cannot_create_beside, error);
    CloseHandle(file);
    DeleteFileA(temp.c_str());
    return Write_status();
}

Write_status Atomic_file::replace(const std::string& path, const std::string& temp_template, const void* data,
                                  size_t size, unsigned)
{
    // MoveFileExA would replace a link itself, or write where a junction
    // leads: a file reached that way is someone else's.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Write_status::failed(Write_reason::is_reparse_point);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Write_status::failed(Write_reason::is_folder);
        // The new file would take one name and leave the others the old bytes.
        const DWORD names = names_of(path);
        if (names > 1)
            return Write_status::failed(Write_reason::cannot_replace,
                                        "it has " + std::to_string(names) +
                                            " names (hard links), and a new file would leave the others with the old "
                                            "bytes");
    }

    std::string temp;
    DWORD error = 0;
    HANDLE file = create_temporary(temp_template, temp, error);
    if (file == INVALID_HANDLE_VALUE) return failed(Write_reason::cannot_create_beside, error);
    const bool written = write_all(file, static_cast<const unsigned char*>(data), size) && FlushFileBuffers(file);
    error = GetLastError();
    const bool closed = CloseHandle(file) != 0;
    if (!written || !closed) {
        const DWORD failed_with = written ? GetLastError() : error;
        DeleteFileA(temp.c_str());
        return Write_status::failed(Write_reason::cannot_write, error_text(failed_with));
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD failed_with = GetLastError();
        DeleteFileA(temp.c_str());
        return failed(Write_reason::cannot_replace, failed_with);
    }
    return Write_status();
}

// Windows gives a new file the folder's inherited rights; there is no owner
// to hand on.
Write_status Atomic_file::create_owned(const std::string& path, const std::string& temp_template, const void* data,
                                       size_t size, unsigned mode)
{
    return replace(path, temp_template, data, size, mode);
}

Atomic_file::Target Atomic_file::inspect(const std::string& path, unsigned& mode)
{
    mode = 0666;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Target::missing;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Target::link;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return Target::other;
    return Target::regular;
}
