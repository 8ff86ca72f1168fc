// A model made outside, put into the garden with pak import-obj, seen in
// the running saver: a cube of a red material without a picture replaces
// the test packs' "tree", passes pak verify and shows on the screen, where
// before there was no red at all; a cube with a picture shows it the right
// way up.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "resources/Pack_names.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/X_display.h"
#include "tools/common/Png_writer.h"

namespace {
// A cube 8 wide standing on the ground (+Z up), its faces as quads with
// the whole texture on each, no normals.
const char* const cube_obj =
    "mtllib cube.mtl\n"
    "v -4 -4 0\nv 4 -4 0\nv 4 4 0\nv -4 4 0\nv -4 -4 8\nv 4 -4 8\nv 4 4 8\nv -4 4 8\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "usemtl cube\n"
    "f 1/1 4/2 3/3 2/4\nf 5/1 6/2 7/3 8/4\nf 1/1 2/2 6/3 5/4\nf 2/1 3/2 7/3 6/4\nf 3/1 4/2 8/3 7/4\nf 4/1 1/2 5/3 8/4\n";

// Where a pure colour shows on the screen (every fourth row and column),
// lit or not: its share of the pixels and its mean row.
struct Colour_seen {
    double share = 0;
    double row = 0;
};

// The screen a second and a half into a run, and where red (channel 0) and
// blue (channel 2) show on it; a share of -1 when the saver did not run.
void look(const Install_folder& install, X_display::Picture& shot, Colour_seen seen[3])
{
    seen[0].share = seen[2].share = -1;
    Saver_process saver;
    const auto before = X_display::mapped_windows();
    if (!saver.start(Saver_process::saver_path(), {"/s"}, install.environment())) return;
    if (!X_display::wait_for_new_window(before, 30000)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    shot = X_display::grab();
    X_display::key("Escape");
    saver.wait(20000);
    if (shot.empty()) return;
    size_t count[3] = {0, 0, 0}, rows[3] = {0, 0, 0}, all = 0;
    for (int y = 0; y < shot.height; y += 4)
        for (int x = 0; x < shot.width; x += 4, ++all) {
            const uint8_t* p = shot.at(x, y);
            for (size_t c : {0, 2}) {
                const uint8_t other = std::max(p[(c + 1) % 3], p[(c + 2) % 3]);
                if (p[c] > 60 && other * 10 < p[c]) ++count[c], rows[c] += size_t(y);
            }
        }
    for (size_t c : {0, 2}) seen[c] = {double(count[c]) / double(all), count[c] ? double(rows[c]) / double(count[c]) : 0};
}

double red_share(const Install_folder& install, X_display::Picture& shot)
{
    Colour_seen seen[3];
    look(install, shot, seen);
    return seen[0].share;
}

// Puts the cube into the install's main.pak in place of the tree.
void import_cube(const Install_folder& install, const std::string& obj)
{
    Saver_process pak;
    ASSERT_TRUE(pak.start(GARDENLUME_BIN_DIR "/pak", {"import-obj", "--replace", install.path() + Pack_names::main_pack,
                                                     Pack_names::tree, obj}));
    ASSERT_TRUE(pak.wait(30000));
    ASSERT_EQ(0, pak.exit_code()) << pak.stderr_text();
}
}  // namespace

TEST(Imported_model, a_cube_made_outside_replaces_the_tree_in_the_running_saver)
{
    REQUIRE_X();
    Install_folder install;
    ASSERT_TRUE(install.ok() && install.write_packs() && install.write_cfg(0, 5));
    X_display::Picture shot;
    EXPECT_LT(red_share(install, shot), 0.001) << "red before the cube came in";

    Temp_folder art;
    std::ofstream(art / "cube.obj") << cube_obj;
    // A colour, no picture: pak makes one.
    std::ofstream(art / "cube.mtl") << "newmtl cube\nKd 1 0 0\n";
    import_cube(install, art / "cube.obj");
    Saver_process verify;
    ASSERT_TRUE(verify.start(GARDENLUME_BIN_DIR "/pak", {"verify", install.path()}));
    ASSERT_TRUE(verify.wait(30000));
    EXPECT_EQ(0, verify.exit_code()) << verify.stderr_text();

    const double share = red_share(install, shot);
    if (share < 0.01) X_display::save_png(shot, "/tmp/gardenlume_obj_import_e2e.png");
    EXPECT_GT(share, 0.01) << "the cube does not show";
}

// A picture whose top half is red and bottom half blue on the cube's sides,
// their tops at the file's v 1 (the picture's top, as modelling programs
// write it), the lid all red, the base all blue: red shows above blue.
TEST(Imported_model, a_textured_cube_shows_its_picture_the_right_way_up)
{
    REQUIRE_X();
    Install_folder install;
    ASSERT_TRUE(install.ok() && install.write_packs() && install.write_cfg(0, 5));
    Temp_folder art;
    std::string obj = cube_obj;
    obj.replace(obj.find("f 1/1 4/2 3/3 2/4\nf 5/1 6/2 7/3 8/4"), 35, "f 1/5 4/5 3/5 2/5\nf 5/6 6/6 7/6 8/6");
    obj.insert(obj.find("usemtl"), "vt 0.5 0.25\nvt 0.5 0.75\n");
    std::ofstream(art / "cube.obj") << obj;
    std::ofstream(art / "cube.mtl") << "newmtl cube\nmap_Kd halves.png\n";
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 8 * 8; ++i) rgba.insert(rgba.end(), {uint8_t(i < 32 ? 255 : 0), 0, uint8_t(i < 32 ? 0 : 255), 255});
    ASSERT_TRUE(Png_writer::write_file(art / "halves.png", 8, 8, rgba.data()));
    import_cube(install, art / "cube.obj");

    X_display::Picture shot;
    Colour_seen seen[3];
    look(install, shot, seen);
    const bool right = seen[0].share > 0.001 && seen[2].share > 0.001 && seen[0].row < seen[2].row;
    if (!right) X_display::save_png(shot, "/tmp/gardenlume_obj_import_halves_e2e.png");
    EXPECT_TRUE(right) << "red: " << seen[0].share << " of the screen about row " << seen[0].row << ", blue: "
                       << seen[2].share << " about row " << seen[2].row;
}
