// The Win32 file services against Wine's real files and processes: the
// atomic replace, extraction that never leaves its folder, and the cleanup
// of temporary cfg files whose run has died.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/Atomic_file.h"
#include "platform/Confined_writer.h"
#include "tools/config/Cfg_file.h"

namespace fs = std::filesystem;

namespace {

struct Folder {
    std::string path;
    Folder()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path = std::string(base) + "gardenlume-files-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount()) + "\\";
        fs::create_directories(path);
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    size_t count() const { return size_t(std::distance(fs::directory_iterator(path), fs::directory_iterator())); }
};

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

TEST(Atomic_file_win32, replaces_the_file_and_leaves_no_temporary_behind)
{
    Folder dir;
    const std::string target = dir.path + "cfg";
    for (const std::string text : {"first", "second, longer"}) {
        const Write_status written = Atomic_file::replace(target, target + ".tmp-XXXXXX", text.data(), text.size(), 0644);
        ASSERT_TRUE(written.ok()) << written.text();
        EXPECT_EQ(contents(target), text);
        EXPECT_EQ(dir.count(), 1u);
    }
    // A folder in its place, or a folder that is not there: refused, nothing left.
    fs::create_directory(dir.path + "sub");
    EXPECT_EQ(Atomic_file::replace(dir.path + "sub", dir.path + "t-XXXXXX", "x", 1, 0644).reason, Write_reason::is_folder);
    EXPECT_EQ(Atomic_file::replace(dir.path + "none\\cfg", dir.path + "none\\t-XXXXXX", "x", 1, 0644).reason,
              Write_reason::cannot_create_beside);
    EXPECT_EQ(dir.count(), 2u);
}

TEST(Confined_writer_win32, names_windows_reads_as_devices_or_streams_are_not_written)
{
    Folder dir;
    const char* const names[] = {"nul", "CON.txt", "sub/aux", "com1", "lpt9.pak", "file:stream", "a\\nul .x"};
    for (const char* name : names)
        EXPECT_EQ(Confined_writer::write(dir.path + "out\\", name, reinterpret_cast<const uint8_t*>("x"), 1).reason,
                  Write_reason::cannot_write)
            << name;
    EXPECT_FALSE(fs::exists(dir.path + "out\\file"));
    // Either separator makes folders; an old file is replaced, a folder is not.
    const uint8_t data[] = {'o', 'k'};
    put(dir.path + "old", "old bytes");
    for (const char* name : {"a/b\\c.png", "old"})
        EXPECT_TRUE(Confined_writer::write(dir.path, name, data, 2).ok()) << name;
    EXPECT_EQ(contents(dir.path + "a\\b\\c.png"), "ok");
    EXPECT_EQ(contents(dir.path + "old"), "ok");
    EXPECT_EQ(Confined_writer::write(dir.path, "a/b", data, 2).reason, Write_reason::cannot_write);
    EXPECT_EQ(dir.count(), 2u);  // "a" and "old": no temporary file left beside them
}

TEST(Confined_writer_win32, a_link_on_the_way_is_never_written_through)
{
    Folder dir;
    fs::create_directories(dir.path + "outside");
    fs::create_directories(dir.path + "out");
    const std::string link = dir.path + "out\\sub";
    if (!CreateSymbolicLinkA(link.c_str(), (dir.path + "outside").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        !(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) ||
        GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no reparse points on this system";
    EXPECT_EQ(Confined_writer::write(dir.path + "out\\", "sub/f", reinterpret_cast<const uint8_t*>("x"), 1).reason,
              Write_reason::meets_symbolic_link);
    EXPECT_FALSE(fs::exists(dir.path + "outside\\f"));
}

TEST(Cfg_file_win32, a_write_removes_only_old_temporaries_of_ended_runs_beside_the_file)
{
    Folder dir;
    // A live process (held suspended) and one that has ended.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION live{}, ended{};
    ASSERT_TRUE(CreateProcessA(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                               &startup, &live));
    ASSERT_TRUE(CreateProcessA(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                               &startup, &ended));
    TerminateProcess(ended.hProcess, 0);
    WaitForSingleObject(ended.hProcess, INFINITE);
    CloseHandle(ended.hProcess);
    CloseHandle(ended.hThread);

    const std::string live_pid = std::to_string(live.dwProcessId), dead_pid = std::to_string(ended.dwProcessId);
    struct Case {
        std::string name;
        bool old;
        bool removed;
    } cases[] = {
        {"cfg.tmp-" + dead_pid + "-abcdef", true, true},
        {"cfg.tmp-" + dead_pid + "-young1", false, false},
        {"cfg.tmp-" + live_pid + "-abcdef", true, false},
        {"cfg.tmp-" + dead_pid + "-toolong", true, false},
        {"cfg.tmp-" + std::to_string(GetCurrentProcessId()) + "-abcdef", true, false},
    };
    FILETIME minute_ago;
    GetSystemTimeAsFileTime(&minute_ago);
    const uint64_t t = ((uint64_t(minute_ago.dwHighDateTime) << 32) | minute_ago.dwLowDateTime) - 600000000ull;
    minute_ago = {DWORD(t), DWORD(t >> 32)};
    for (const Case& c : cases) {
        put(dir.path + c.name, "x");
        const HANDLE f = CreateFileA((dir.path + c.name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                     0, nullptr);
        if (c.old) SetFileTime(f, nullptr, nullptr, &minute_ago);
        CloseHandle(f);
    }
    // A write cleans the folder of the file, whatever the current folder is,
    // and its own temporary file leaves no trace there either.
    ASSERT_TRUE(Cfg_file::write(dir.path + "cfg", Cfg_record()).ok());
    EXPECT_EQ(fs::file_size(dir.path + "cfg"), 21u);
    for (const Case& c : cases) EXPECT_EQ(fs::exists(dir.path + c.name), !c.removed) << c.name;
    EXPECT_EQ(dir.count(), 5u);
    TerminateProcess(live.hProcess, 0);
    CloseHandle(live.hProcess);
    CloseHandle(live.hThread);
}
