// The installation folder from the registry stand-in, the paths built on it,
// and starting a program from it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "app/Settings.h"
#include "platform/Platform.h"

namespace {

const char* const key = "Software\\Korvanta\\Gardenlume\\Settings";

class Settings_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "settings_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern + "/";
        registry = dir + "registry.reg";
        setenv("GARDENLUME_REGISTRY", registry.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("GARDENLUME_REGISTRY");
        std::string cmd = "rm -rf '" + dir + "'";
        if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir;
    }

    void write_registry(const std::string& path_value)
    {
        std::ofstream out(registry, std::ios::binary);
        out << "Windows Registry Editor Version 5.00\r\n\r\n"
            << "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\r\n"
            << "\"Path\"=\"" << path_value << "\"\r\n";
    }

    // A stand-in program that writes its working directory next to itself.
    void write_recorder(const std::string& path)
    {
        {
            std::ofstream out(path);
            out << "#!/bin/sh\npwd > \"$0.cwd\"\n";
        }
        chmod(path.c_str(), 0755);
    }

    static std::string wait_for_file(const std::string& path)
    {
        for (int i = 0; i < 200; ++i) {
            std::ifstream in(path);
            std::string line;
            if (in && std::getline(in, line)) return line;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return "<never written>";
    }

    std::string dir;
    std::string registry;
};

}  // namespace

TEST_F(Settings_test, folder_from_the_registry_is_used_by_plain_concatenation)
{
    write_registry(dir);
    Settings s(key);
    EXPECT_TRUE(s.from_registry());
    EXPECT_EQ(s.folder(), dir);
    EXPECT_EQ(s.file_path("cfg"), dir + "cfg");
}

TEST_F(Settings_test, folder_without_trailing_separator_runs_into_the_name)
{
    write_registry("/opt/saver");
    Settings s(key);
    EXPECT_EQ(s.file_path("cfg"), "/opt/savercfg");
}

TEST_F(Settings_test, missing_value_falls_back_to_the_executables_folder)
{
    std::ofstream(registry) << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n";
    Settings s(key);
    EXPECT_FALSE(s.from_registry());
    EXPECT_EQ(s.folder(), Platform::executable_folder());
    EXPECT_EQ(s.file_path("cfg"), Platform::executable_folder() + "cfg");
}

TEST_F(Settings_test, no_usable_value_falls_back_to_the_executables_folder)
{
    // Each case leaves the registry file as named; none may block or name "".
    const struct {
        const char* what;
        void (*make)(const std::string& registry);
    } cases[] = {
        {"missing file", [](const std::string&) {}},
        {"empty Path value",
         [](const std::string& r) {
             std::ofstream(r) << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"
                              << "\"Path\"=\"\"\n";
         }},
        {"a FIFO, which would block a plain open", [](const std::string& r) { mkfifo(r.c_str(), 0600); }},
        {"a folder", [](const std::string& r) { mkdir(r.c_str(), 0700); }},
    };
    for (const auto& c : cases) {
        std::string cmd = "rm -rf '" + registry + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        c.make(registry);
        Settings s(key);
        EXPECT_FALSE(s.from_registry()) << c.what;
        EXPECT_EQ(s.folder(), Platform::executable_folder()) << c.what;
    }
}

TEST_F(Settings_test, launch_starts_the_program_in_the_installation_folder)
{
    write_registry(dir);
    write_recorder(dir + "config.exe");
    Settings s(key);
    s.launch("config.exe");
    // The folder without its trailing separator, as the folder part of the path.
    EXPECT_EQ(wait_for_file(dir + "config.exe.cwd"), dir.substr(0, dir.size() - 1));
}

TEST_F(Settings_test, launch_with_folder_value_lacking_separator_uses_the_parent)
{
    // "<dir>sub" + "config.exe" names "<dir>subconfig.exe", whose folder is <dir>.
    write_registry(dir + "sub");
    write_recorder(dir + "subconfig.exe");
    Settings s(key);
    s.launch("config.exe");
    EXPECT_EQ(wait_for_file(dir + "subconfig.exe.cwd"), dir.substr(0, dir.size() - 1));
}

TEST_F(Settings_test, launch_of_a_missing_program_returns_quietly)
{
    write_registry(dir);
    Settings s(key);
    s.launch("config.exe");  // nothing there: no crash, nothing reported
    EXPECT_FALSE(Platform::start_program(dir + "config.exe", dir));
}
