// The registry stand-in: the export text format, its escapes, case rules,
// sections, missing pieces and garbage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/Platform.h"
#include "platform/Registry_file.h"

namespace {

const char* const key = "Software\\Korvanta\\Gardenlume\\Settings";

std::string lookup(const std::string& text, const std::string& value = "Path", bool* found = nullptr)
{
    std::string data = "<none>";
    bool ok = Registry_file::find(text, key, value, data);
    if (found) *found = ok;
    return ok ? data : "<none>";
}

const std::string good =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\r\n"
    "\"Path\"=\"/opt/gardenlume/\"\r\n";

}  // namespace

TEST(Registry_file, reads_a_string_value_under_its_key)
{
    EXPECT_EQ(lookup(good), "/opt/gardenlume/");
}

TEST(Registry_file, regedit4_header_and_unix_line_ends_are_accepted)
{
    EXPECT_EQ(lookup("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"
                     "\"Path\"=\"C:\\\\Saver\\\\\"\n"),
              "C:\\Saver\\");
}

TEST(Registry_file, backslash_and_quote_escapes_are_undone)
{
    EXPECT_EQ(lookup("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"
                     "\"Path\"=\"a\\\\b \\\"q\\\" c\"\n"),
              "a\\b \"q\" c");
}

TEST(Registry_file, key_and_value_names_compare_case_insensitively)
{
    EXPECT_EQ(lookup("REGEDIT4\n[hkey_local_machine\\SOFTWARE\\korvanta\\GardenLume\\settings]\n"
                     "\"pATH\"=\"/x/\"\n"),
              "/x/");
}

TEST(Registry_file, data_keeps_its_case)
{
    EXPECT_EQ(lookup("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"
                     "\"Path\"=\"/Opt/GL/\"\n"),
              "/Opt/GL/");
}

TEST(Registry_file, value_in_another_section_is_not_found)
{
    const std::string text =
        "REGEDIT4\n"
        "[HKEY_CURRENT_USER\\Software\\Korvanta\\Gardenlume\\Settings]\n\"Path\"=\"/user/\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings\\Sub]\n\"Path\"=\"/sub/\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume]\n\"Path\"=\"/parent/\"\n";
    EXPECT_EQ(lookup(text), "<none>");
}

TEST(Registry_file, section_ends_at_the_next_section)
{
    const std::string text =
        "REGEDIT4\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n\"Other\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Else]\n\"Path\"=\"/else/\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n\"Path\"=\"/again/\"\n";
    EXPECT_EQ(lookup(text), "/again/");
    EXPECT_EQ(lookup(text, "Other"), "1");
}

TEST(Registry_file, missing_header_key_or_value_is_not_found)
{
    EXPECT_EQ(lookup(good.substr(good.find('\n') + 1)), "<none>");  // no header
    EXPECT_EQ(lookup("REGEDIT4\n\"Path\"=\"/x/\"\n"), "<none>");  // no section
    EXPECT_EQ(lookup(good, "Folder"), "<none>");
    EXPECT_EQ(lookup(""), "<none>");
}

TEST(Registry_file, non_string_values_are_not_strings)
{
    EXPECT_EQ(lookup("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"
                     "\"Path\"=dword:00000001\n"),
              "<none>");
}

TEST(Registry_file, malformed_lines_are_skipped_without_harm)
{
    const std::string text =
        "REGEDIT4\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"
        "\"Path\"=\"unterminated\n"
        "\"Path\"=\"bad escape \\n\"\n"
        "\"Path\"=\"trailing\" junk\n"
        "\"Path\"=\"ends in backslash\\\n"
        "\"Path\n"
        "\"\n"
        "=\n"
        "@=\"default value\"\n"
        "\"Path\"=\"/good/\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings\n"
        "\"Path\"=\"/after broken section/\"\n";
    // The broken section line leaves the section: its value does not count.
    EXPECT_EQ(lookup(text), "/good/");
}

TEST(Registry_file, binary_garbage_never_crashes)
{
    std::string text = "REGEDIT4\n[";
    for (int i = 0; i < 4096; ++i) text.push_back(char((i * 7919) % 256));
    bool found = true;
    lookup(text, "Path", &found);
    EXPECT_FALSE(found);
}

TEST(Registry_file, utf16_export_from_regedit_is_read)
{
    std::string ascii = good;
    std::string wide = "\xFF\xFE";
    for (char c : ascii) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    EXPECT_EQ(lookup(wide), "/opt/gardenlume/");
}

TEST(Registry_file, environment_variable_names_the_file)
{
    const std::string path = ::testing::TempDir() + "registry_env_test.reg";
    {
        std::ofstream out(path, std::ios::binary);
        out << good;
    }
    setenv("GARDENLUME_REGISTRY", path.c_str(), 1);
    EXPECT_EQ(Registry_file::path_in_use(), path);
    std::vector<char> data;
    ASSERT_TRUE(Platform::read_registry_string(key, "Path", data));
    ASSERT_FALSE(data.empty());
    EXPECT_EQ(data.back(), '\0');  // always zero-terminated
    EXPECT_STREQ(data.data(), "/opt/gardenlume/");

    unsetenv("GARDENLUME_REGISTRY");
    EXPECT_EQ(Registry_file::path_in_use(), "/etc/gardenlume/registry.reg");
    std::remove(path.c_str());
}

TEST(Registry_file, missing_file_is_not_found)
{
    std::string data;
    EXPECT_FALSE(Registry_file::find_in_file("/nonexistent/registry.reg", key, "Path", data));
}

TEST(Platform, arguments_are_argv_after_the_program_path_whatever_it_holds)
{
    char a0[] = "/opt/my.saver/g l/gardenlume.scr";
    char a1[] = "/p";
    char a2[] = "1234";
    char* argv[] = {a0, a1, a2, nullptr};
    Platform::record_arguments(3, argv);
    EXPECT_EQ(Platform::arguments(), (std::vector<std::string>{"/p", "1234"}));
    Platform::record_arguments(1, argv);
    EXPECT_TRUE(Platform::arguments().empty());
}

TEST(Platform, executable_folder_ends_with_a_separator)
{
    const std::string folder = Platform::executable_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder.front(), '/');
}
