// pak against hostile files from outside: export-obj into a folder with
// planted links, textures whose file names collide, a full disk; pictures
// too large to decode or in a format one build cannot read, refused by
// add and named by verify and list.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "resources/Image_rgba.h"
#include "resources/Model.h"
#include "resources/Model_writer.h"
#include "resources/Pak.h"
#include "tests/support/Saver_process.h"
#include "tests/tools/pak/Pak_run.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Small_tmpfs.h"
#include "tests/support/Test_files.h"
#include "tests/support/Test_jpeg.h"
#include "tests/support/Test_packs.h"

namespace fs = std::filesystem;

namespace {
std::string text_of(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

const std::string shipped = GARDENLUME_BIN_DIR "/main.pak";

// A PNG whose header claims w x h; its pixels are cut short.
std::string png_claiming(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> png = Test_packs::png(1, 1, 0, 0, 0);
    for (int k = 0; k < 4; ++k) png[size_t(16 + k)] = uint8_t(w >> (24 - 8 * k)), png[size_t(20 + k)] = uint8_t(h >> (24 - 8 * k));
    return text_of(png);
}

// A whole 1x1 BMP of 24 bits: both decoders read it.
std::string bmp_1x1()
{
    const uint8_t b[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                           24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0};
    return std::string(reinterpret_cast<const char*>(b), sizeof b);
}
}  // namespace

TEST(Obj_export, writes_nothing_through_a_link_planted_at_any_of_its_files)
{
    for (const char* planted : {"tree.obj", "tree.mtl", "#_bark.png"}) {
        SCOPED_TRACE(planted);
        Temp_folder dir;
        fs::create_directory(dir / "out");
        write(dir / "victim", "v");
        fs::create_symlink(dir / "victim", dir / ("out/" + std::string(planted)));
        const Pak_run r = pak({"export-obj", shipped, "tree", dir / "out"});
        EXPECT_EQ(1, r.code);
        EXPECT_NE(std::string::npos, r.err.find(std::string(planted) + ": is a symbolic link")) << r.err;
        EXPECT_EQ("v", Test_files::text(dir / "victim"));
        EXPECT_EQ(1, std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()));
    }
}

TEST(Obj_export, every_texture_gets_its_own_file_and_comes_back_with_its_own_picture)
{
    Temp_folder dir;
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> textures = {
        {"#_a/b", Test_packs::png(2, 2, 255, 0, 0)}, {"#_a_b", Test_packs::png(2, 2, 0, 255, 0)},
        {"#_A_B", Test_packs::png(2, 2, 0, 0, 255)}};
    Model_writer w;
    const double xyz[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0}, uv[6] = {0, 0, 1, 0, 0, 1};
    Test_packs::Entries entries;
    for (const auto& [name, png] : textures) {
        w.begin_mesh(name);
        w.add_triangle(xyz, uv);
        entries.push_back({name, png});
    }
    entries.insert(entries.begin(), {"m", w.bytes()});
    ASSERT_TRUE(Test_packs::write_pack(dir / "p.pak", entries));
    ASSERT_EQ(0, pak({"export-obj", dir / "p.pak", "m", dir / "out"}).code);
    for (const char* file : {"#_a_b.png", "#_a_b-2.png", "#_A_B-3.png"}) EXPECT_TRUE(fs::exists(dir / ("out/" + std::string(file)))) << file;
    const Pak_run back = pak({"import-obj", dir / "back.pak", "m", dir / "out/m.obj"});
    ASSERT_EQ(0, back.code) << back.err;
    Pak b;
    ASSERT_EQ(Read_reason::ok, b.read_file(dir / "back.pak"));
    for (const auto& [name, png] : textures) {
        Pak_entry e = b.find(name);
        Image_rgba was, is;
        ASSERT_TRUE(was.decode(png.data(), int32_t(png.size())) && is.decode(e.data, e.size)) << name;
        EXPECT_EQ(0, std::memcmp(was.pixels(), is.pixels(), 16)) << name;
    }
}

// With room the export writes each file whole: a face a triangle of the
// model, each picture decoding to its texture's size. On a full disk each
// file is the old one or that whole one, never cut short nor gone, and no
// temporary file is left.
TEST(Obj_export, a_full_disk_leaves_each_file_old_or_whole)
{
    Pak pack;
    ASSERT_EQ(Read_reason::ok, pack.read_file(shipped));
    const Pak_entry tree = pack.find("tree");
    const Model model = Model::read(tree.data, size_t(tree.size));
    std::set<std::string> files = {"tree.obj", "tree.mtl"}, found;
    long triangles = 0;
    for (const Mesh_record& m : model.meshes) {
        triangles += m.triangle_count;
        if (!m.is_procedural()) files.insert(m.texture_name);
    }
    Temp_folder dir;
    ASSERT_EQ(0, pak({"export-obj", shipped, "tree", dir / "whole"}).code);
    std::map<std::string, std::string> whole;
    for (const std::string& name : files) whole[name] = Test_files::text(dir / ("whole/" + name));
    const std::string& obj = whole["tree.obj"];
    long faces = 0;
    for (size_t at = obj.find("\nf "); at != std::string::npos; at = obj.find("\nf ", at + 1)) ++faces;
    EXPECT_EQ(triangles, faces);
    for (const std::string& name : files) {
        if (name == "tree.obj" || name == "tree.mtl") continue;
        Image_rgba was, is;
        const Pak_entry e = pack.find(name);
        ASSERT_TRUE(was.decode(e.data, e.size)) << name;
        EXPECT_TRUE(is.decode(reinterpret_cast<const uint8_t*>(whole[name].data()), int32_t(whole[name].size())) &&
                    is.width() == was.width() && is.height() == was.height()) << name;
        EXPECT_NE(std::string::npos, whole["tree.mtl"].find("\nmap_Kd " + name + "\n")) << name;
    }

    const std::string full = dir / "full";
    const Small_tmpfs disk(full, "256k");
    if (!disk.mounted()) GTEST_SKIP() << "no small tmpfs to fill: " << disk.error();
    for (const std::string& name : files) write(full + "/" + name, "old");
    write(full + "/filler", std::string(200 * 1024, 'f'));
    const Pak_run r = pak({"export-obj", shipped, "tree", full});
    EXPECT_EQ(1, r.code);
    for (const auto& f : fs::directory_iterator(full)) {
        const std::string name = f.path().filename().string(), now = Test_files::text(f.path().string());
        if (name == "filler") continue;
        found.insert(name);
        EXPECT_TRUE(now == "old" || now == whole[name]) << name;
    }
    EXPECT_EQ(files, found);
}

namespace {
// A whole PNG but for its closing IEND chunk (the last 12 bytes): SDL_image
// stops reading after the last row and shows it, stb_image reads on to the
// end and refuses it.
std::string without_iend(std::string png) { return png.substr(0, png.size() - 12); }

std::string big_endian(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string chunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    return big_endian(uint32_t(data.size())) + body +
           big_endian(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

// A PNG of `height` rows of `samples` (filter bytes included) of this bit
// depth and colour type, with `extra` chunks (PLTE, tRNS) before its pixels.
std::string png_row(uint32_t width, int depth, int colour_type, const std::string& samples, const std::string& extra,
                    uint32_t height = 1)
{
    std::string packed(compressBound(uLong(samples.size())), '\0');
    uLongf size = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(samples.data()), uLong(samples.size()));
    const std::string header = big_endian(width) + big_endian(height) + char(depth) + char(colour_type) + std::string(3, '\0');
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) + extra + chunk("IDAT", packed.substr(0, size)) + chunk("IEND", "");
}

// A 64 x 64 JPEG of sharp stripes, colours subsampled as cameras do:
// libjpeg and stb_image round it apart by a few steps.
std::string striped_jpeg()
{
    std::vector<uint8_t> rgb;
    for (unsigned i = 0; i < 64 * 64; ++i) rgb.insert(rgb.end(), {uint8_t(i % 64 * 4), uint8_t(i / 64 * 4), uint8_t(i % 64 * (i / 64))});
    return text_of(test_jpeg(64, 64, rgb, 75, true));
}

// True when `err` warns of what is given, or of nothing when it is empty.
bool warns(const std::string& err, const std::string& what)
{
    const bool warned = err.find(": warning: ") != std::string::npos;
    return what.empty() ? !warned : warned && err.find(what) != std::string::npos;
}

struct Picture_case {
    const char* what;
    std::string bytes;
    std::string refusal;  // empty: taken
    std::string warning = {};  // of one taken: what add and verify warn of
};

const Picture_case pictures[] = {
    {"a small PNG", text_of(Test_packs::png(4, 4, 1, 2, 3)), ""},
    {"a JPEG the two decoders round apart", striped_jpeg(), ""},
    {"sides not powers of two", text_of(Test_packs::png(6, 4, 1, 2, 3)), "", "is a picture of 6x4, which shows white"},
    {"a side over 1024", text_of(Test_packs::png(2048, 4, 1, 2, 3)), "", "scale it to 1024x4"},
    {"9000x9000", png_claiming(9000, 9000), "is a picture of 9000x9000, over 8192 pixels on a side"},
    {"16000x30000", png_claiming(16000, 30000), "is a picture of 16000x30000"},
    {"8193 wide, whole", text_of(Test_packs::png(8193, 1, 1, 2, 3)), "is a picture of 8193x1"},
    {"GIF", "GIF89a\x02\0\x02\0\x80\0\0", "is a picture in GIF format: packs take PNG and JPEG only"},
    {"BMP", bmp_1x1(), "is a picture in BMP format"},
    {"XPM", "/* XPM */\nstatic char *x[] = {\n\"1 1 1 1\",\n\"a c #ff0000\",\n\"a\"};\n", "is a picture in XPM format"},
    {"PNG cut short", text_of(Test_packs::png(4, 4, 1, 2, 3)).substr(0, 40), "is a picture in PNG format that does not decode"},
    {"PNG without IEND", without_iend(text_of(Test_packs::png(4, 4, 1, 2, 3))),
     "is a picture in PNG format that the Windows build's decoder cannot read"},
    // stb_image shows an index past the palette as stale bytes.
    {"palette PNG indexing past its 2 colours", png_row(2, 8, 3, std::string("\0\0\5", 3), chunk("PLTE", std::string("\xff\0\0\0\xff\0", 6))),
     "is a picture in PNG format whose pixels index past its palette"},
    // SDL_image keys the colour's low bytes against the pixels' high bytes.
    {"16-bit RGB with a transparent colour", png_row(2, 16, 2, std::string("\0\x12\x34\x56\x78\x9a\xbc", 7) + std::string(6, '\0'),
                                                   chunk("tRNS", std::string("\x12\x34\x56\x78\x9a\xbc", 6))),
     "is a picture in PNG format that the Linux and Windows builds show differently, first at pixel 0,0 (16 bits"},
};
}  // namespace

TEST(Pak_pictures, add_refuses_and_verify_names_what_both_builds_cannot_show)
{
    // The JPEG row means something only while the decoders differ on it.
    Image_rgba by_sdl, by_stb;
    const std::string jpeg = striped_jpeg();
    const auto* bytes = reinterpret_cast<const uint8_t*>(jpeg.data());
    ASSERT_TRUE(by_sdl.decode_with_sdl_image(bytes, int32_t(jpeg.size())) && by_stb.decode_with_stb(bytes, int32_t(jpeg.size())));
    EXPECT_NE(0, std::memcmp(by_sdl.pixels(), by_stb.pixels(), 64 * 64 * 4));
    for (const Picture_case& c : pictures) {
        SCOPED_TRACE(c.what);
        Temp_folder dir;
        write(dir / "picture", c.bytes);
        ASSERT_TRUE(Test_packs::write_all(dir.path));
        const std::vector<uint8_t> before = Test_files::bytes(dir / "main.pak");
        const Pak_run added = pak({"add", dir / "main.pak", "new.png", dir / "picture"});
        EXPECT_EQ(c.refusal.empty() ? 0 : 1, added.code) << added.err;
        EXPECT_TRUE(warns(added.err, c.warning)) << added.err;
        if (!c.refusal.empty()) {
            EXPECT_NE(std::string::npos, added.err.find("picture: " + c.refusal)) << added.err;
            EXPECT_EQ(before, Test_files::bytes(dir / "main.pak"));
        }

        // The tree's texture replaced by the picture, as a hand-made pack would.
        Pak main;
        ASSERT_EQ(Read_reason::ok, main.read_file(dir / "main.pak"));
        int32_t tree = 0;
        while (tree < main.entry_count() && main.name(tree) != "tree.png") ++tree;
        ASSERT_TRUE(main.replace_data(tree, c.bytes.data(), int32_t(c.bytes.size())));
        ASSERT_TRUE(main.save(dir / "main.pak").ok());
        const Pak_run verified = pak({"verify", dir.path});
        EXPECT_EQ(c.refusal.empty() ? 0 : 1, verified.code) << verified.err;
        EXPECT_TRUE(warns(verified.err, c.warning)) << verified.err;
        if (!c.refusal.empty()) {
            EXPECT_NE(std::string::npos, verified.err.find("texture \"tree.png\" " + c.refusal)) << verified.err;
        }
    }
}

// The two decoders are compared without a third decoded copy: an 8192 x
// 8192 RGBA PNG (256 MiB decoded) is added by the real pak with its address
// space capped at 625 MiB, two copies and the program but not three.
TEST(Pak_pictures, add_compares_a_large_picture_holding_two_decoded_copies_at_most)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit a capped address space";
#endif
    Temp_folder dir;
    std::string rows;
    for (int y = 0; y < 8192; ++y) rows += '\0' + std::string(8192 * 4, char(y));
    write(dir / "big.png", png_row(8192, 8, 6, rows, "", 8192));
    ASSERT_TRUE(Test_packs::write_pack(dir / "p.pak", {{"a", {1}}}));
    const std::string run = "ulimit -v 640000 && exec '" GARDENLUME_BIN_DIR "/pak' add '" + dir.path + "p.pak' big.png '" +
                            dir.path + "big.png' 2>'" + dir.path + "err'";
    const int status = std::system(run.c_str());
    const std::string err = Test_files::text(dir / "err");
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(0, WEXITSTATUS(status)) << err;
}
