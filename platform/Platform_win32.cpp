// The Win32 services of Platform.h.
#include "platform/Platform.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/Command_line.h"

const char Platform::path_separator = '\\';

namespace {

std::atomic<bool> termination{false};

// Console control events arrive on a thread of their own: the main loop
// only sees the flag.
BOOL WINAPI on_console_event(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        termination = true;
        return TRUE;
    default:
        return FALSE;
    }
}

// Registry strings longer than this are refused: the folder is a path.
const DWORD max_registry_bytes = 32 * 1024;

}  // namespace

void Platform::record_arguments(int, char**) {}

const std::vector<std::string>& Platform::arguments()
{
    // The C runtime's argv is of no use here: the screensaver host writes a
    // line such as `C:\WINDOWS\GARDEN~1.SCR /p 1234`, which is read as a
    // whole.
    static const std::vector<std::string> args = [] {
        const char* line = GetCommandLineA();
        return Command_line::split(Command_line::after_program(line ? line : ""));
    }();
    return args;
}

bool Platform::read_registry_string(const std::string& key_path, const std::string& value,
                                    std::vector<char>& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    bool ok = false;
    // The size is asked first; a value that grows between the two calls is
    // asked again, a few times.
    for (int attempt = 0; attempt < 4 && !ok; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > max_registry_bytes) break;
        // One byte more than the data: a string stored without its zero
        // still ends in one.
        std::vector<char> buf(size_t(size) + 1, '\0');
        DWORD got = size;
        const LONG status = RegQueryValueExA(key, value.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(buf.data()), &got);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS || got > size) break;
        if (type != REG_SZ && type != REG_EXPAND_SZ) break;
        buf.resize(size_t(got));
        // The string ends at its first zero, whatever the stored size says.
        for (size_t i = 0; i < buf.size(); ++i) {
            if (buf[i] == '\0') {
                buf.resize(i);
                break;
            }
        }
        buf.push_back('\0');
        data.swap(buf);
        ok = true;
    }
    RegCloseKey(key);
    return ok;
}

bool Platform::start_program(const std::string& program, const std::string& working_dir,
                             const std::string& argument)
{
    // The command line is the quoted program path and the argument as it
    // is; CreateProcessA may write to it, so it lives in a buffer of its own.
    const std::string quoted = "\"" + program + "\"" + (argument.empty() ? "" : " " + argument);
    std::vector<char> line(quoted.begin(), quoted.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working_dir.empty() ? nullptr : working_dir.c_str(), &startup, &process))
        return false;
    // The child is never waited for.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string Platform::executable_folder()
{
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0) return std::string();
        // A path that filled the buffer may have been cut short.
        if (n < buf.size()) {
            std::string path(buf.data(), n);
            const size_t cut = path.find_last_of("\\/");
            return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
        }
        if (buf.size() >= 32768) return std::string();
        buf.resize(buf.size() * 2);
    }
}

// SDL's own choice (DirectX, else GDI) is the right one on Windows.
void Platform::choose_video_driver() {}

void Platform::keep_display_mode(bool) {}

bool Platform::consent_by_prompt() { return true; }

void Platform::allow_display_sleep()
{
    // SDL reads it with the C library's getenv, so it goes in through
    // _putenv, which keeps that copy of the environment and the process's.
    if (!std::getenv("SDL_VIDEO_ALLOW_SCREENSAVER")) _putenv("SDL_VIDEO_ALLOW_SCREENSAVER=1");
}

void Platform::catch_termination() { SetConsoleCtrlHandler(on_console_event, TRUE); }

bool Platform::termination_requested() { return termination; }

bool Platform::settings_without_switch() { return true; }

void Platform::attach_parent_console()
{
    const bool out_set = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    const bool err_set = GetFileType(GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((out_set && err_set) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!out_set) (void)std::freopen("CONOUT$", "w", stdout);
    if (!err_set) (void)std::freopen("CONOUT$", "w", stderr);
}

unsigned long Platform::process_id() { return GetCurrentProcessId(); }

bool Platform::process_gone(unsigned long id)
{
    // OpenProcess fails with ERROR_INVALID_PARAMETER only when no such
    // process exists; a process we may not open is alive.
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(id));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

namespace {
uint64_t ticks_of(const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
}  // namespace

int Platform::remove_old_files(const std::string& folder, const std::string& prefix,
                               bool (*pick)(const std::string& name), long min_age_seconds)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FILETIME now_time;
    GetSystemTimeAsFileTime(&now_time);
    const uint64_t now = ticks_of(now_time);
    const uint64_t min_age = uint64_t(min_age_seconds) * 10000000;  // in 100 ns
    int removed = 0;
    do {
        const std::string name = found.cFileName;
        if (name.compare(0, prefix.size(), prefix) != 0 || !pick(name)) continue;
        // Only plain files: never a folder, nor whatever a link leads to.
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
            continue;
        const uint64_t written = ticks_of(found.ftLastWriteTime);
        if (written > now || now - written < min_age) continue;
        if (DeleteFileA((folder + name).c_str())) ++removed;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return removed;
}
