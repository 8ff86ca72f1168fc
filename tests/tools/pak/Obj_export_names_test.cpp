// pak export-obj names its files so that the export can be copied to Windows,
// and its materials so that every reader of OBJ reads them whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "resources/Model_writer.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_files.h"
#include "tests/support/Test_packs.h"
#include "tests/tools/pak/Pak_run.h"

// Texture names in, in the order of the meshes, and their file names out: a
// name that comes out equal to an earlier one (but for case) gets a number.
TEST(Obj_export_names, no_file_name_is_a_stream_or_device_on_windows_each_texture_gets_its_own_and_no_name_a_blank)
{
    const std::pair<const char*, const char*> names[] = {
        {"#_x:y", "#_x_y.png"}, {"#_a<b>c\"d|e?f*g\\h", "#_a_b_c_d_e_f_g_h.png"}, {"#_tab\there\x7F", "#_tab_here_.png"},
        {"#_x_y", "#_x_y-2.png"}, {"CON", "CON_.png"}, {"AUX", "AUX_.png"}, {"aux", "aux_-2.png"},
        {"nul.tex", "nul_.tex.png"}, {"Com1", "Com1_.png"}, {"lpt9.png", "lpt9_.png"}, {"PRN .x", "PRN_.x.png"},
        {"COM10", "COM10.png"}, {"console", "console.png"}, {"#_end.", "#_end..png"}, {"#_end ", "#_end_.png"},
        {"#_two words", "#_two_words.png"}};
    Temp_folder dir;
    Model_writer w;
    const double xyz[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0}, uv[6] = {0, 0, 1, 0, 0, 1};
    Test_packs::Entries entries = {{"Nul", {}}};
    std::set<std::string> expected = {"Nul_.obj", "Nul_.mtl"}, found;
    for (const auto& [texture, file] : names) {
        w.begin_mesh(texture);
        w.add_triangle(xyz, uv);
        entries.push_back({texture, Test_packs::png(1, 1, 9, 9, 9)});
        expected.insert(file);
    }
    entries[0].second = w.bytes();
    ASSERT_TRUE(Test_packs::write_pack(dir / "p.pak", entries));
    const Pak_run r = pak({"export-obj", dir / "p.pak", "Nul", dir / "out"});
    ASSERT_EQ(0, r.code) << r.err;
    for (const auto& f : std::filesystem::directory_iterator(dir / "out")) found.insert(f.path().filename().string());
    EXPECT_EQ(expected, found);
    EXPECT_NE(std::string::npos, Test_files::text(dir / "out/Nul_.obj").find("\nmtllib Nul_.mtl\n"));
    EXPECT_NE(std::string::npos, Test_files::text(dir / "out/Nul_.mtl").find("\nmap_Kd aux_-2.png\n"));
    // A material's name is one word (%20 for a blank): readers end it at a blank.
    for (const char* file : {"out/Nul_.obj", "out/Nul_.mtl"}) {
        std::istringstream text(Test_files::text(dir / file));
        for (std::string line; std::getline(text, line);)
            if (line.compare(0, 7, "usemtl ") == 0 || line.compare(0, 7, "newmtl ") == 0) {
                EXPECT_EQ(std::string::npos, line.find(' ', 7)) << file << ": " << line;
            }
    }
}
