// Packs read and pictures decoded on worker threads before the scene asks:
// the scene must get the very textures it gets without, and a pack that is
// gone by the time it is asked for must still be reported missing.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "resources/Pak.h"
#include "resources/Pak_cache.h"
#include "resources/Pak_prefetch.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_packs.h"

namespace fs = std::filesystem;

namespace {
struct Texture {
    GLint width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

Texture read_back(GLuint tex)
{
    Texture t;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
    t.pixels.resize(size_t(t.width) * size_t(t.height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.pixels.data());
    return t;
}

// The packs the scene loads, with the models it loads from each.
std::vector<Pak_prefetch::Pack> scene_packs()
{
    std::vector<Pak_prefetch::Pack> packs = {{"main.pak", {"tree", "fon", "nn"}}};
    for (int i = 1; i <= 5; ++i) packs.push_back({"butterfly" + std::to_string(i) + ".pak", {"krilo", "brushko"}});
    return packs;
}

std::string missing_name;
void note_missing(const std::string& name) { missing_name = name; }
}  // namespace

TEST(Pak_prefetch, every_picture_of_the_real_packs_uploads_the_same_as_without)
{
    REQUIRE_GL();
    Pak_cache cache;
    cache.set_directory(std::string(GARDENLUME_BIN_DIR) + "/");
    Pak_prefetch prefetch(cache, scene_packs());
    prefetch.hand_over(cache);
    int pictures = 0;
    for (const Pak_prefetch::Pack& pack : scene_packs()) {
        const std::string& name = pack.name;
        Pak plain;
        ASSERT_EQ(plain.read_file(cache.path_of(name)), Read_reason::ok) << name;
        Pak* ahead = cache.open(name);
        ASSERT_EQ(ahead->entry_count(), plain.entry_count()) << name;
        for (int32_t i = 0; i < plain.entry_count(); ++i) {
            const std::string& entry = plain.name(i);
            const bool decoded = ahead->has_decoded_ahead(i);
            const GLuint a = ahead->texture(entry), b = plain.texture(entry);
            ASSERT_EQ(a != 0, b != 0) << name << " " << entry;
            if (b == 0) continue;
            EXPECT_TRUE(decoded) << name << " " << entry << ": a picture not decoded ahead";
            const Texture ta = read_back(a), tb = read_back(b);
            EXPECT_EQ(ta.width, tb.width) << name << " " << entry;
            EXPECT_EQ(ta.height, tb.height) << name << " " << entry;
            EXPECT_TRUE(ta.pixels == tb.pixels) << name << " " << entry << ": other pixels";
            ++pictures;
        }
    }
    EXPECT_GE(pictures, 10);
}

TEST(Pak_prefetch, pack_gone_between_the_early_read_and_its_request_is_reported_missing)
{
    const struct {
        const char* what;
        bool remove_before_prefetch, remove_after_prefetch, restore_before_request;
        bool reported;
    } cases[] = {
        {"there throughout", false, false, false, false},
        {"gone after the early read", false, true, false, true},
        {"gone at the early read", true, false, false, true},
        {"back by the request", true, false, true, false},
    };
    for (const auto& c : cases) {
        char tmpl[] = "/tmp/gardenlume_prefetch_XXXXXX";
        const std::string dir = std::string(mkdtemp(tmpl)) + "/";
        const Test_packs::Entries entries = {{"tree", {1, 2, 3}}, {"a.png", Test_packs::png(4, 4, 9, 9, 9)}};
        ASSERT_TRUE(Test_packs::write_pack(dir + "x.pak", entries));
        if (c.remove_before_prefetch) fs::remove(dir + "x.pak");
        Pak_cache cache;
        cache.set_directory(dir);
        cache.on_missing_pack(note_missing);
        {
            Pak_prefetch prefetch(cache, {{"x.pak", {"tree"}}});
            prefetch.hand_over(cache);
        }
        if (c.remove_after_prefetch) fs::remove(dir + "x.pak");
        if (c.restore_before_request) {
            ASSERT_TRUE(Test_packs::write_pack(dir + "x.pak", entries));
        }
        missing_name.clear();
        const Pak_entry tree = cache.model_bytes("x.pak", "tree");
        EXPECT_EQ(missing_name, c.reported ? "x.pak" : "") << c.what;
        EXPECT_EQ(tree.size, c.reported ? 0 : 3) << c.what;
        cache.drop_read_ahead();
        fs::remove_all(dir);
    }
}

// A pack may carry pictures no model of the scene names, each up to 256 MiB
// decoded: only those the loaded models name are decoded ahead.
TEST(Pak_prefetch, only_pictures_named_by_the_models_the_scene_loads_are_decoded_ahead)
{
    const struct {
        const char* entry;
        bool decoded;
    } cases[] = {{"named.png", true}, {"unnamed.png", false}, {"named_by_an_unloaded_model.png", false}};
    Temp_folder dir;
    Test_packs::Entries entries = {{"tree", Test_packs::quad_model("named.png", 1, 1)},
                                   {"other", Test_packs::quad_model("named_by_an_unloaded_model.png", 1, 1)}};
    for (const auto& c : cases) entries.push_back({c.entry, Test_packs::png(4, 4, 9, 9, 9)});
    ASSERT_TRUE(Test_packs::write_pack(dir / "x.pak", entries));
    Pak_cache cache;
    cache.set_directory(dir.path);
    Pak_prefetch prefetch(cache, {{"x.pak", {"tree"}}});
    prefetch.hand_over(cache);
    const Pak* pak = cache.open("x.pak");
    ASSERT_EQ(5, pak->entry_count());
    for (int32_t i = 2; i < 5; ++i)
        EXPECT_EQ(cases[i - 2].decoded, pak->has_decoded_ahead(i)) << cases[i - 2].entry;
    cache.drop_read_ahead();
}
