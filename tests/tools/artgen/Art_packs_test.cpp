// The packs the asset builder writes, seen from outside: the same bytes on
// every run, the entries the scene loads, and the pak tool's own check.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "resources/Pak.h"
#include "resources/Pack_names.h"
#include "tests/tools/artgen/Art_files.h"
#include "tests/support/Saver_process.h"

namespace {

const int run_timeout_ms = 120000;

std::string temp_folder()
{
    char name[] = "/tmp/gardenlume_art_XXXXXX";
    const char* made = mkdtemp(name);
    return made ? std::string(made) + "/" : std::string();
}

void remove_folder(const std::string& folder)
{
    for (const std::string& pack : art::pack_names()) unlink((folder + pack).c_str());
    rmdir(folder.c_str());
}

// Runs the builder into a fresh folder; empty on failure.
std::string build_packs()
{
    std::string folder = temp_folder();
    if (folder.empty()) return folder;
    Saver_process artgen;
    if (!artgen.start(art::artgen_path(), {folder}) || !artgen.wait(run_timeout_ms) || artgen.exit_code() != 0) {
        ADD_FAILURE() << "artgen " << artgen.describe() << ": " << artgen.stderr_text();
        remove_folder(folder);
        return std::string();
    }
    return folder;
}

}  // namespace

TEST(Art_builder, two_runs_write_the_same_bytes_and_bin_holds_them)
{
    std::string first = build_packs(), second = build_packs();
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    for (const std::string& pack : art::pack_names()) {
        std::string a = art::slurp(first + pack), b = art::slurp(second + pack);
        EXPECT_FALSE(a.empty()) << pack;
        EXPECT_TRUE(a == b) << pack << " differs between two runs of the builder";
        // The build re-runs the builder when it changes: bin/ must not be stale.
        EXPECT_TRUE(a == art::slurp(art::bin_dir() + "/" + pack)) << pack << " in bin/ is not what artgen makes";
    }
    remove_folder(first);
    remove_folder(second);
}

TEST(Art_builder, refuses_a_missing_folder_argument_with_2_and_a_bad_font_with_1)
{
    Saver_process no_args;
    ASSERT_TRUE(no_args.start(art::artgen_path(), {}));
    ASSERT_TRUE(no_args.wait(run_timeout_ms));
    EXPECT_EQ(2, no_args.exit_code());
    EXPECT_NE(std::string::npos, no_args.stderr_text().find("usage"));

    std::string folder = temp_folder();
    Saver_process bad_font;
    ASSERT_TRUE(bad_font.start(art::artgen_path(), {folder, "/nonexistent/font.ttf"}));
    ASSERT_TRUE(bad_font.wait(run_timeout_ms));
    EXPECT_EQ(1, bad_font.exit_code());
    EXPECT_NE(std::string::npos, bad_font.stderr_text().find("/nonexistent/font.ttf"));
    EXPECT_NE(0, access((folder + Pack_names::main_pack).c_str(), F_OK)) << "a pack was written without its lettering";
    remove_folder(folder);
}

TEST(Art_packs, every_pack_reads_whole_and_holds_the_models_the_scene_loads)
{
    for (const std::string& name : art::pack_names()) {
        Pak pak;
        ASSERT_EQ(Read_reason::ok, pak.read_file(art::bin_dir() + "/" + name)) << name;
        EXPECT_EQ(Read_reason::ok, pak.status().reason) << name;
        std::vector<std::string> models =
            name == Pack_names::main_pack ? std::vector<std::string>{Pack_names::tree, Pack_names::background, art::cut_background(), Pack_names::overlay} : std::vector<std::string>{Pack_names::wing, Pack_names::body};
        for (const std::string& model : models) EXPECT_FALSE(pak.find(model).empty()) << name << ": " << model;
    }
}

// Every picture uploads on plain OpenGL 1.1 (Windows' own renderer takes
// powers of two of at most 1024 on a side, or shows nothing), and
// alpha-tested meshes keep texels above 0.9 alpha: anything between 0 and
// 255 would fray the edges of leaves and wings under the test.
TEST(Art_packs, images_have_power_of_two_sides_up_to_1024_and_alpha_tested_ones_hard_alpha)
{
    auto fits = [](png_uint_32 side) { return side >= 1 && side <= 1024 && (side & (side - 1)) == 0; };
    for (const std::string& name : art::pack_names()) {
        Pak pak;
        ASSERT_EQ(Read_reason::ok, pak.read_file(art::bin_dir() + "/" + name));
        for (int32_t i = 0; i < pak.entry_count(); ++i) {
            const std::string& entry = pak.name(i);
            if (entry.size() < 6 || entry.compare(entry.size() - 4, 4, ".png") != 0) continue;
            Pak_entry bytes = pak.entry(i);
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data, size_t(bytes.size))) << entry;
            EXPECT_TRUE(fits(image.width) && fits(image.height))
                << name << ": " << entry << " is " << image.width << "x" << image.height;
            image.format = PNG_FORMAT_RGBA;
            std::vector<uint8_t> px(PNG_IMAGE_SIZE(image));
            ASSERT_TRUE(png_image_finish_read(&image, nullptr, px.data(), 0, nullptr)) << entry;
            if (entry[0] == '#') continue;
            size_t soft = 0;
            for (size_t k = 3; k < px.size(); k += 4) soft += px[k] != 0 && px[k] != 255;
            EXPECT_EQ(0u, soft) << name << ": " << entry << " has texels of partial alpha";
        }
    }
}

TEST(Art_packs, pak_verify_accepts_the_installation_folder)
{
    const std::string pak = art::bin_dir() + "/pak";
    ASSERT_EQ(0, access(pak.c_str(), X_OK)) << "no pak tool in " << art::bin_dir();
    Saver_process verify;
    ASSERT_TRUE(verify.start(pak, {"verify", art::bin_dir()}));
    ASSERT_TRUE(verify.wait(run_timeout_ms));
    EXPECT_EQ(0, verify.exit_code()) << verify.stdout_text() << verify.stderr_text();
}
