// The Win32 platform calls against Wine's real registry, files and
// processes, and the installation folder the saver takes from them.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/Settings.h"
#include "platform/Platform.h"

namespace {

const char* const key = "Software\\Korvanta\\Gardenlume\\Test";

class Registry_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hkey,
                                  nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(hkey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    }
    void set(const char* name, DWORD type, const void* bytes, DWORD size)
    {
        ASSERT_EQ(RegSetValueExA(hkey, name, 0, type, static_cast<const BYTE*>(bytes), size), ERROR_SUCCESS);
    }
    HKEY hkey = nullptr;
};

std::string folder_of_this_test()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n);
    return p.substr(0, p.find_last_of('\\') + 1);
}

}  // namespace

TEST_F(Registry_test, string_values_come_back_zero_terminated_and_cut_at_their_first_zero)
{
    const DWORD number = 7;
    const std::string long_text(40000, 'a');
    set("plain", REG_SZ, "C:\\Garden\\", 11);
    set("unterminated", REG_SZ, "C:\\G", 4);  // stored without its zero
    set("inner_zero", REG_SZ, "C:\\A\0junk", 10);
    set("expand", REG_EXPAND_SZ, "%WINDIR%\\", 10);
    set("empty", REG_SZ, "", 1);
    set("number", REG_DWORD, &number, sizeof number);
    set("too_long", REG_SZ, long_text.c_str(), DWORD(long_text.size() + 1));
    const struct {
        const char* value;
        bool found;
        std::string text;
    } rows[] = {
        {"plain", true, "C:\\Garden\\"}, {"unterminated", true, "C:\\G"}, {"inner_zero", true, "C:\\A"},
        {"expand", true, "%WINDIR%\\"},  {"empty", true, ""},             {"number", false, ""},
        {"too_long", false, ""},         {"missing", false, ""},
    };
    for (const auto& row : rows) {
        std::vector<char> data;
        ASSERT_EQ(Platform::read_registry_string(key, row.value, data), row.found) << row.value;
        if (!row.found) continue;
        ASSERT_FALSE(data.empty()) << row.value;
        EXPECT_EQ(data.back(), '\0') << row.value;
        EXPECT_EQ(std::string(data.data()), row.text) << row.value;
        EXPECT_EQ(data.size(), row.text.size() + 1) << row.value;
    }
    std::vector<char> data;
    EXPECT_FALSE(Platform::read_registry_string("Software\\Korvanta\\No such key", "plain", data));
}

TEST_F(Registry_test, settings_take_the_folder_from_the_value_else_the_programs_own)
{
    set("Path", REG_SZ, "C:\\Garden\\", 11);
    Settings from_value(key);
    EXPECT_TRUE(from_value.from_registry());
    EXPECT_EQ(from_value.file_path("cfg"), "C:\\Garden\\cfg");

    set("Path", REG_SZ, "", 1);
    Settings empty(key);
    EXPECT_FALSE(empty.from_registry());
    EXPECT_EQ(empty.folder(), folder_of_this_test());
}

TEST(Platform_win32, executable_folder_ends_with_a_backslash_and_holds_this_program)
{
    const std::string dir = Platform::executable_folder();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_NE(GetFileAttributesA((dir + "test_windows.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Platform::path_separator, '\\');
}

TEST(Platform_win32, arguments_are_the_command_line_after_the_program_path)
{
    // The runner starts this binary with these arguments after the gtest flags.
    std::string line = GetCommandLineA();
    const auto& args = Platform::arguments();
    ASSERT_GE(args.size(), 2u);
    EXPECT_EQ(args.back(), "/s");
    EXPECT_NE(line.find("\"after the program\""), std::string::npos);
    EXPECT_EQ(args[args.size() - 2], "after the program");
    for (const auto& a : args) EXPECT_EQ(a.find("test_windows.exe"), std::string::npos) << a;
}

TEST(Platform_win32, a_started_program_runs_in_the_given_folder)
{
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string dir = std::string(temp) + "gardenlume start test " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string record = dir + "\\started_in.txt";
    DeleteFileA(record.c_str());

    ASSERT_TRUE(Platform::start_program(folder_of_this_test() + "record_folder.exe", dir));
    std::string line;
    for (int i = 0; i < 200 && line.empty(); ++i) {
        std::ifstream in(record);
        std::getline(in, line);
        if (line.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(line, dir);
    EXPECT_FALSE(Platform::start_program(dir + "\\no such program.exe", dir));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    DeleteFileA(record.c_str());
    RemoveDirectoryA(dir.c_str());
}

TEST_F(Registry_test, launch_runs_the_program_in_the_folder_whichever_separator_the_value_uses)
{
    // The stand-in beside this test records where it was started.
    std::string forward = folder_of_this_test();
    for (char& c : forward)
        if (c == '\\') c = '/';
    for (const std::string& folder : {folder_of_this_test(), forward}) {
        const std::string record = folder_of_this_test() + "started_in.txt";
        DeleteFileA(record.c_str());
        set("Path", REG_SZ, folder.c_str(), DWORD(folder.size() + 1));
        Settings s(key);
        s.launch("record_folder.exe");
        std::string line;
        for (int i = 0; i < 200 && line.empty(); ++i) {
            std::ifstream in(record);
            std::getline(in, line);
            if (line.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_EQ(line + "\\", folder_of_this_test()) << folder;
        DeleteFileA(record.c_str());
    }
}

TEST(Platform_win32, allow_display_sleep_sets_1_unless_the_user_chose)
{
    const char* name = "SDL_VIDEO_ALLOW_SCREENSAVER";
    for (const char* before : {"", "0"}) {
        _putenv_s(name, before);  // "" removes it
        Platform::allow_display_sleep();
        EXPECT_STREQ(std::getenv(name), *before ? before : "1") << "before: '" << before << "'";
    }
    _putenv_s(name, "");
}

TEST(Platform_win32, the_screen_saver_list_finds_the_saver_s_name_in_string_1)
{
    HMODULE saver = LoadLibraryExA((folder_of_this_test() + "..\\bin\\gardenlume.scr").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(saver, nullptr);
    char name[64] = {};
    EXPECT_GT(LoadStringA(saver, 1, name, sizeof name), 0);
    EXPECT_STREQ(name, "Gardenlume");
    FreeLibrary(saver);
}
