// A model made outside, put into the garden with pak import-obj, seen in
// the running saver: a cube of a red material without a picture replaces
// the test packs' "tree", passes pak verify and shows on the screen, where
// before there was no red at all.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "resources/Pack_names.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/X_display.h"

namespace {
// A cube 8 wide standing on the ground (+Z up), its faces as quads with
// the whole texture on each, no normals.
const char* const cube_obj =
    "mtllib cube.mtl\n"
    "v -4 -4 0\nv 4 -4 0\nv 4 4 0\nv -4 4 0\nv -4 -4 8\nv 4 -4 8\nv 4 4 8\nv -4 4 8\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "usemtl cube\n"
    "f 1/1 4/2 3/3 2/4\nf 5/1 6/2 7/3 8/4\nf 1/1 2/2 6/3 5/4\nf 2/1 3/2 7/3 6/4\nf 3/1 4/2 8/3 7/4\nf 4/1 1/2 5/3 8/4\n";

// The share of the screen's pixels (every fourth row and column) that are
// the cube's pure red, lit or not, a second and a half into a run.
double red_share(const Install_folder& install, X_display::Picture& shot)
{
    Saver_process saver;
    const auto before = X_display::mapped_windows();
    if (!saver.start(Saver_process::saver_path(), {"/s"}, install.environment())) return -1;
    if (!X_display::wait_for_new_window(before, 30000)) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    shot = X_display::grab();
    X_display::key("Escape");
    saver.wait(20000);
    if (shot.empty()) return -1;
    size_t red = 0, all = 0;
    for (int y = 0; y < shot.height; y += 4)
        for (int x = 0; x < shot.width; x += 4, ++all) {
            const uint8_t* p = shot.at(x, y);
            if (p[0] > 60 && p[1] * 10 < p[0] && p[2] * 10 < p[0]) ++red;
        }
    return double(red) / double(all);
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
    Saver_process pak;
    ASSERT_TRUE(pak.start(GARDENLUME_BIN_DIR "/pak", {"import-obj", "--replace", install.path() + Pack_names::main_pack,
                                                     Pack_names::tree, art / "cube.obj"}));
    ASSERT_TRUE(pak.wait(30000));
    ASSERT_EQ(0, pak.exit_code()) << pak.stderr_text();
    Saver_process verify;
    ASSERT_TRUE(verify.start(GARDENLUME_BIN_DIR "/pak", {"verify", install.path()}));
    ASSERT_TRUE(verify.wait(30000));
    EXPECT_EQ(0, verify.exit_code()) << verify.stderr_text();

    const double share = red_share(install, shot);
    if (share < 0.01) X_display::save_png(shot, "/tmp/gardenlume_obj_import_e2e.png");
    EXPECT_GT(share, 0.01) << "the cube does not show";
}
