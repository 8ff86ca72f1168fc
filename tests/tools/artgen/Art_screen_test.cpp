// The real saver showing the built packs on the test X server, whatever its
// size, in the desktop mode, judged from screenshots (an end-to-end folder,
// so it runs alone on the X server): the background fills the screen upright
// and unmirrored, the garden stands in the middle, and the overlay's
// lettering shows in the last third of the minute and not before; with a
// tree of one's own in place of the shipped one, no hole in the background.
// The waits are generous bounds, never measurements.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

#include "app/Video_mode.h"
#include "tests/tools/artgen/Art_files.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_packs.h"
#include "tests/support/X_display.h"

namespace {

const int start_timeout_ms = 30000;
const int end_timeout_ms = 20000;

using Mean = X_display::Picture::Mean;

// How far the sun's bright disc reaches across and down through (x, y):
// its runs of near-white pixels along that row and that column.
std::pair<int, int> disc_size(const X_display::Picture& p, int x, int y)
{
    auto white = [&p](int px, int py) {
        const uint8_t* c = p.at(px, py);
        return c[0] > 240 && c[1] > 235 && c[2] > 215;
    };
    int x0 = x, x1 = x, y0 = y, y1 = y;
    while (x0 > 0 && white(x0 - 1, y)) --x0;
    while (x1 + 1 < p.width && white(x1 + 1, y)) ++x1;
    while (y0 > 0 && white(x, y0 - 1)) --y0;
    while (y1 + 1 < p.height && white(x, y1 + 1)) ++y1;
    return {x1 - x0 + 1, y1 - y0 + 1};
}

// Pixels of a screenshot that are black: nothing was drawn there.
size_t black_pixels(const X_display::Picture& p)
{
    size_t n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* c = p.at(x, y);
            n += c[0] < 8 && c[1] < 8 && c[2] < 8;
        }
    return n;
}
Mean mean_of(const X_display::Picture& p, int x0, int y0, int x1, int y1) { return p.mean(x0, y0, x1, y1); }

// Pale gold to amber, as the lettering is painted; the garden and the
// background hold little of it.
size_t lettering_pixels(const X_display::Picture& p, int x0, int y0, int x1, int y1)
{
    size_t n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* c = p.at(x, y);
            n += c[0] > 225 && c[1] > 170 && c[2] < c[0] - 30;
        }
    return n;
}

class Art_on_screen : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!X_display::available()) GTEST_SKIP() << "no X display to drive";
        ASSERT_TRUE(install.ok());
        for (const std::string& pack : art::pack_names()) {
            std::string bytes = art::slurp(art::bin_dir() + "/" + pack);
            ASSERT_FALSE(bytes.empty()) << pack << " was not built";
            ASSERT_TRUE(install.write_file(pack, bytes));
        }
        // The screen's own size: the test passes on any display it is given.
        ASSERT_TRUE(install.write_cfg(0, Video_mode::desktop_index));
    }

    Install_folder install;
    Saver_process saver;
};

}  // namespace

TEST_F(Art_on_screen, background_fills_the_screen_upright_garden_in_the_middle_overlay_only_late)
{
    const auto before = X_display::mapped_windows();
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
    ASSERT_TRUE(X_display::wait_for_new_window(before, start_timeout_ms))
        << "no window; saver " << saver.describe() << ", stderr: " << saver.stderr_text();
    auto shown = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    X_display::Picture garden = X_display::grab();
    ASSERT_FALSE(garden.empty());
    X_display::save_png(garden, art::bin_dir() + "/../art_garden_shot.png");
    const int w = garden.width, h = garden.height;
    ASSERT_GE(w, 640);
    ASSERT_GE(h, 480);

    // No black anywhere, as the garden turns: the picture reaches every
    // border, and the background leaves out only what the lawn and its soil
    // cover.
    EXPECT_EQ(0u, black_pixels(garden)) << "a gap in the background or at the screen's edge";
    // The sun is round on a screen of any shape: in one shot at least (a
    // butterfly may pass before it) as wide as it is tall, within a tenth.
    const double px_per_unit = h / (2 * 200 * std::tan(22.5 * M_PI / 180));
    int sun_x = w / 2 + int(17 * 4 * px_per_unit), sun_y = h / 2 - int(5 * 3 * px_per_unit);
    std::string sun_sizes;
    bool round = false;
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        X_display::Picture later = X_display::grab();
        ASSERT_FALSE(later.empty());
        EXPECT_EQ(0u, black_pixels(later)) << "a gap between the background and the garden, shot " << i + 2;
        const auto [across, down] = disc_size(later, sun_x, sun_y);
        round = round || (down > 8 && std::abs(across - down) * 10 <= down);
        sun_sizes += " " + std::to_string(across) + "x" + std::to_string(down);
    }

    // Sky above, meadow below.
    Mean top = mean_of(garden, 0, 0, w, h / 16), bottom = mean_of(garden, 0, h - h / 16, w, h);
    EXPECT_GT(top.b, top.g) << "no sky at the top: background upside down?";
    EXPECT_GT(top.b, top.r);
    EXPECT_GT(bottom.g, bottom.b) << "no meadow at the bottom: background upside down?";
    // The sun stands right of the middle, a little above the horizon: at
    // (17, -5) in the background's units, drawn at scale (4, 3) 200 units
    // away in a 45 degree view as tall as the screen.
    EXPECT_TRUE(round) << "the sun's disc across by down, in pixels:" << sun_sizes;
    Mean sun = mean_of(garden, sun_x - 8, sun_y - 8, sun_x + 8, sun_y + 8);
    Mean mirror = mean_of(garden, w - sun_x - 8, sun_y - 8, w - sun_x + 8, sun_y + 8);
    EXPECT_GT(sun.b, mirror.b + 20) << "no sun on the right: background mirrored?";

    // The lawn and the crown fill the middle of the screen.
    size_t green = 0, counted = 0;
    for (int y = h / 2 - 60; y < h / 2 + 60; y += 2)
        for (int x = w / 2 - 60; x < w / 2 + 60; x += 2) {
            const uint8_t* c = garden.at(x, y);
            green += c[1] > c[0] && c[1] > c[2];
            ++counted;
        }
    EXPECT_GT(green, counted * 6 / 10) << "the garden is not in the middle of the screen";

    // The lettering stands below the middle; before 40 s there is none.
    const int lx0 = w / 4, lx1 = w * 3 / 4, ly0 = h / 2 + h / 8, ly1 = h / 2 + h * 5 / 16;
    size_t early = lettering_pixels(garden, lx0, ly0, lx1, ly1);
    std::this_thread::sleep_until(shown + std::chrono::milliseconds(45000));
    X_display::Picture overlay = X_display::grab();
    ASSERT_FALSE(overlay.empty());
    X_display::save_png(overlay, art::bin_dir() + "/../art_overlay_shot.png");
    size_t late = lettering_pixels(overlay, lx0, ly0, lx1, ly1);
    EXPECT_LT(early, 400u) << "lettering before the overlay's time";
    EXPECT_GT(late, 4000u) << "no lettering in the overlay's time";
    // The overlay stays in its window: the sky at the top is untouched.
    Mean top_late = mean_of(overlay, 0, 0, w, h / 16);
    EXPECT_NEAR(top.b, top_late.b, 12);

    EXPECT_TRUE(X_display::key("Escape"));
    ASSERT_TRUE(saver.wait(end_timeout_ms)) << "saver did not end";
    EXPECT_EQ(0, saver.exit_code()) << saver.describe();
}

// A user's own model in place of the tree (the README's round trip), put
// in with the real pak. The background the shipped garden draws leaves out
// the sky under its lawn; without that lawn it is whole, even when the new
// tree has exactly the shipped one's size in bytes.
TEST_F(Art_on_screen, a_tree_of_ones_own_stands_over_an_unbroken_background)
{
    Temp_folder model;
    // A red square.
    std::ofstream(model / "own.obj") << "mtllib own.mtl\nv -4 -4 0\nv 4 -4 0\nv 4 4 0\nv -4 4 0\n"
                                        "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nusemtl own\nf 1/1 2/2 3/3 4/4\n";
    std::ofstream(model / "own.mtl") << "newmtl own\nmap_Kd own.png\n";
    const std::vector<uint8_t> png = Test_packs::png(4, 4, 255, 0, 0);
    std::ofstream(model / "own.png", std::ios::binary).write(reinterpret_cast<const char*>(png.data()), long(png.size()));
    const std::string main_pak = install.path() + Pack_names::main_pack;
    const struct {
        const char* what;
        std::vector<std::vector<std::string>> pak_runs;
    } trees[] = {
        {"a red square", {{"import-obj", "--replace", main_pak, Pack_names::tree, model / "own.obj"}}},
        // Every position halved: as many bytes as the shipped tree.
        {"the shipped tree at half its size",
         {{"export-obj", main_pak, Pack_names::tree, model / "half"},
          {"import-obj", "--replace", main_pak, Pack_names::tree, model / "half/tree.obj", "--scale", "0.5"}}},
    };
    for (const auto& tree : trees) {
        SCOPED_TRACE(tree.what);
        ASSERT_TRUE(install.write_file(Pack_names::main_pack, art::slurp(art::bin_dir() + "/" + Pack_names::main_pack)));
        for (const std::vector<std::string>& args : tree.pak_runs) {
            Saver_process pak;
            ASSERT_TRUE(pak.start(art::bin_dir() + "/pak", args));
            ASSERT_TRUE(pak.wait(end_timeout_ms));
            ASSERT_EQ(0, pak.exit_code()) << pak.stderr_text();
        }
        const auto before = X_display::mapped_windows();
        Saver_process run;
        ASSERT_TRUE(run.start(Saver_process::saver_path(), {"/s"}, install.environment()));
        ASSERT_TRUE(X_display::wait_for_new_window(before, start_timeout_ms)) << run.stderr_text();
        std::this_thread::sleep_for(std::chrono::milliseconds(2000));
        X_display::Picture shot = X_display::grab();
        EXPECT_TRUE(X_display::key("Escape"));
        ASSERT_TRUE(run.wait(end_timeout_ms)) << "saver did not end";
        ASSERT_FALSE(shot.empty());
        EXPECT_EQ(0u, black_pixels(shot)) << "a hole in the background behind one's own tree";
    }
}
