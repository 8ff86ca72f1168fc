// pak export-obj and import-obj driven from outside: every shipped model
// goes out to OBJ and comes back the same, and hand-written OBJ files are
// read or refused with their line, the pack left as it was.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "resources/Image_rgba.h"
#include "resources/Model.h"
#include "resources/Pack_names.h"
#include "resources/Pak.h"
#include "tests/support/Saver_process.h"
#include "tests/tools/pak/Pak_run.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_files.h"
#include "tests/support/Test_packs.h"
#include "tools/pak/Obj_reader.h"

namespace {

std::array<double, 3> face_normal(const Mesh_record& m, int32_t t)
{
    Mesh_record::Corner c[3] = {m.corner(t, 0), m.corner(t, 1), m.corner(t, 2)};
    const double a[3] = {c[1].x - c[0].x, c[1].y - c[0].y, c[1].z - c[0].z};
    const double b[3] = {c[2].x - c[0].x, c[2].y - c[0].y, c[2].z - c[0].z};
    std::array<double, 3> n = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (double& v : n) v = l > 0 ? v / l : 0;
    return n;
}

void expect_same_image(const Pak& a, const Pak& b, const std::string& name)
{
    Pak_entry ea = a.find(name), eb = b.find(name);
    Image_rgba ia, ib;
    ASSERT_TRUE(ia.decode(ea.data, ea.size) && ib.decode(eb.data, eb.size)) << name;
    // A picture whose sides some renderers refuse comes back scaled (the
    // table of sizes below holds how).
    const auto fits = [](int side) { return side <= 1024 && (side & (side - 1)) == 0; };
    if (!fits(ia.width()) || !fits(ia.height())) {
        EXPECT_TRUE(fits(ib.width()) && fits(ib.height())) << name << ": " << ib.width() << "x" << ib.height();
        return;
    }
    ASSERT_EQ(ia.width(), ib.width());
    ASSERT_EQ(ia.height(), ib.height());
    EXPECT_EQ(0, std::memcmp(ia.pixels(), ib.pixels(), size_t(ia.width()) * ia.height() * 4)) << name;
}

void expect_same_model(const Pak& a, const Pak& b, const std::string& entry)
{
    Pak_entry ea = a.find(entry), eb = b.find(entry);
    Model ma = Model::read(ea.data, size_t(ea.size)), mb = Model::read(eb.data, size_t(eb.size));
    ASSERT_TRUE(mb.read_to_end(size_t(eb.size)));
    ASSERT_EQ(ma.meshes.size(), mb.meshes.size());
    for (size_t i = 0; i < ma.meshes.size(); ++i) {
        const Mesh_record &x = ma.meshes[i], &y = mb.meshes[i];
        ASSERT_STREQ(x.texture_name, y.texture_name);
        ASSERT_EQ(x.triangle_count, y.triangle_count);
        for (int32_t t = 0; t < x.triangle_count; ++t) {
            for (size_t k = 0; k < 3; ++k) {
                Mesh_record::Corner p = x.corner(t, k), q = y.corner(t, k);
                const double d[5] = {p.x - q.x, p.y - q.y, p.z - q.z, p.u - q.u, p.v - q.v};
                for (double v : d) ASSERT_EQ(v, 0) << x.texture_name << " triangle " << t;
            }
            const auto nx = face_normal(x, t), ny = face_normal(y, t);
            for (size_t k = 0; k < 3; ++k) ASSERT_NEAR(nx[k], ny[k], 1e-9);
        }
        if (!x.is_procedural()) expect_same_image(a, b, x.texture_name);
    }
    EXPECT_TRUE(std::equal(ea.data, ea.data + ea.size, eb.data, eb.data + eb.size)) << entry << ": not byte for byte";
}
}  // namespace

TEST(Obj_round_trip, every_shipped_model_comes_back_the_same)
{
    std::vector<std::pair<std::string, const char*>> models;
    for (const char* e : Pack_names::main_entries) models.emplace_back(Pack_names::main_pack, e);
    for (const char* pack : Pack_names::butterfly_packs)
        for (const char* e : Pack_names::butterfly_entries) models.emplace_back(pack, e);
    for (const auto& [pack, entry] : models) {
        SCOPED_TRACE(pack + " " + entry);
        Temp_folder dir;
        const std::string shipped = std::string(GARDENLUME_BIN_DIR "/") + pack;
        // Out with +Y up, as modelling programs read it, and turned back.
        ASSERT_EQ(0, pak({"export-obj", shipped, entry, dir / "out", "--up", "y"}).code);
        const Pak_run back =
            pak({"import-obj", dir / "back.pak", entry, dir / ("out/" + std::string(entry) + ".obj"), "--up", "y"});
        ASSERT_EQ(0, back.code) << back.err;
        Pak a, b;
        ASSERT_EQ(Read_reason::ok, a.read_file(shipped));
        ASSERT_EQ(Read_reason::ok, b.read_file(dir / "back.pak"));
        expect_same_model(a, b, entry);
    }
}

namespace {
// Four corners of a unit square, with texture coordinates; each case adds
// its materials and faces. An empty mtl writes no MTL file.
const std::string square = "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";
const std::string quad_mtl = "newmtl quad\nmap_Kd q.png\n";
const std::string long_name(130, 'a');
const std::string red_green_mtl = "newmtl red\nmap_Kd q.png\nnewmtl green\nmap_Kd q.png\n";

// 300 more vertices (5 to 304) and one face through all of them, then a
// triangle of the next material: the parser counts corners in a byte.
std::string face_of_300()
{
    std::string obj;
    for (int i = 0; i < 300; ++i) obj += "v " + std::to_string(i % 17) + " " + std::to_string(i / 17) + " 1\n";
    obj += "usemtl red\nf";
    for (int i = 5; i <= 304; ++i) obj += " " + std::to_string(i);
    return obj + "\nusemtl green\nf 302 303 304\n";
}

std::string repeated(const std::string& text, size_t times)
{
    std::string out;
    out.reserve(text.size() * times);
    for (size_t i = 0; i < times; ++i) out += text;
    return out;
}

// A PNG whose header claims w x h (its pixels are cut short: it is refused
// before anything would decode them).
std::string png_claiming(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> png = Test_packs::png(1, 1, 0, 0, 0);
    for (int k = 0; k < 4; ++k) png[size_t(16 + k)] = uint8_t(w >> (24 - 8 * k)), png[size_t(20 + k)] = uint8_t(h >> (24 - 8 * k));
    return std::string(png.begin(), png.end());
}

std::string png_text(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    const std::vector<uint8_t> png = Test_packs::png(w, h, r, g, b);
    return std::string(png.begin(), png.end());
}

// A slanted wall whose up is Y (as Blender writes it), then its face:
// turned to +Z up, its second corner (1, 0, -1) comes to (1, 1, 0).
const std::string y_up_wall = "v 0 0 0\nv 1 0 -1\nv 1 1 -1\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n";
const std::string wall_face = "f 1/1/1 2/2/1 3/3/1 4/4/1\n";
const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

// A 2 x 1 BMP of 24 bits: a red pixel, then a blue one.
const std::string bmp_2x1("BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0"
                          "\x08\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\0\0\0\0", 62);

struct Picture {
    std::string name;
    int width, height;
    uint8_t rgb[3];  // of its first pixel
};

struct Case {
    const char* what;
    std::string obj, mtl;
    std::vector<std::string> options;
    int code;
    std::string err;                                    // a part of the one line
    std::vector<std::pair<std::string, int>> meshes;  // texture, triangles
    double max_x = 1;
    std::string entry = "model";
    // Files as a tool writes them, in.obj among them (it then replaces the
    // square), and the pictures the pack must then hold.
    std::vector<std::pair<std::string, std::string>> files = {};
    std::vector<Picture> pictures = {};
    double y = 0;  // of the first triangle's second corner
};

const Case cases[] = {
    {"quad without normals", "usemtl quad\nf 1/1 2/2 3/3 4/4\n", quad_mtl, {}, 0, "", {{"#_quad", 2}}},
    {"two materials, in order of first use", "usemtl #$glow\nf 1 2 3\nusemtl __leaf\nf 1 3 4\nusemtl #$glow\nf 2 3 4\n",
     "newmtl __leaf\nmap_Kd q.png\nnewmtl #$glow\nmap_Kd q.png\n", {}, 0, "", {{"#$glow", 2}, {"__leaf", 1}}},
    {"negative indices, scaled", "usemtl quad\nf -4/-4 -3/-3 -2/-2 -1/-1\n", quad_mtl, {"--scale", "2.5"}, 0, "",
     {{"#_quad", 2}}, 2.5},
    {"procedural name, %20 for its blank", "usemtl ##Plasma8x8%20,1,2,3\nf 1 2 3\n", "newmtl ##Plasma8x8%20,1,2,3\n",
     {}, 0, "", {{"##Plasma8x8 ,1,2,3", 1}}},
    {"existing entry replaced", "usemtl quad\nf 1 2 3\n", quad_mtl, {"--replace"}, 0, "", {{"#_quad", 1}}, 1, "old"},
    {"missing MTL", "usemtl quad\nf 1 2 3\n", "", {}, 1, "m.mtl: material library cannot be read", {}},
    {"mtllib naming places to look, the first not there", "mtllib gone.mtl leaf.mtl\nusemtl leaf\nf 1 2 3\n", quad_mtl,
     {}, 0, "", {{"#_leaf", 1}}, 1, "model", {{"leaf.mtl", "newmtl leaf\nmap_Kd q.png\n"}}, {{"#_leaf", 2, 2, {255, 0, 0}}}},
    {"mtllib naming again a library that could not be read", "mtllib gone.mtl leaf.mtl\nmtllib gone.mtl\nusemtl leaf\nf 1 2 3\n",
     quad_mtl, {}, 1, "gone.mtl: material library cannot be read", {}, 1, "model", {{"leaf.mtl", "newmtl leaf\nmap_Kd q.png\n"}}},
    {"usemtl before the mtllib that defines it: its picture is used", "", "", {}, 0, "", {{"#_leaf", 1}}, 1, "model",
     {{"in.obj", "usemtl leaf\nmtllib leaf.mtl\n" + triangle + "f 1 2 3\n"}, {"leaf.mtl", "newmtl leaf\nmap_Kd q.png\n"}},
     {{"#_leaf", 2, 2, {255, 0, 0}}}},
    {"vertex index out of range", "usemtl quad\nf 1 2 9\n", quad_mtl, {}, 1, "obj: face 1: vertex index out of range", {}},
    {"texture index out of range", "usemtl quad\nf 1 2/2 3/-7\n", quad_mtl, {}, 1,
     "obj: face 1: texture coordinate index out of range", {}},
    {"texture not an image", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd bad.png\n", {}, 1,
     "bad.png: texture of material \"quad\" is not a picture", {}},
    {"texture missing: a picture is made", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd gone.png\n", {}, 0, "",
     {{"#_quad", 1}}},
    {"texture a folder", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd link\n", {"--allow-outside"}, 1,
     "link: texture of material \"quad\" cannot be read", {}},
    {"face without a material", "f 1 2 3\n", quad_mtl, {}, 0, "", {{"#_default", 1}}},
    {"name over 127 bytes", "usemtl " + long_name + "\nf 1 2 3\n", "newmtl " + long_name + "\nmap_Kd q.png\n", {},
     1, "is longer than 127 bytes", {}},
    {"entry already in the pack", "usemtl quad\nf 1 2 3\n", quad_mtl, {}, 1, "already holds an entry \"old\"", {}, 1, "old"},
    {"a face of 300 corners is a fan of 298", face_of_300(), red_green_mtl, {}, 0, "", {{"#_red", 298}, {"#_green", 1}}},
    {"index past an int", "usemtl quad\nf 1 3 4294967298\n", quad_mtl, {}, 1, "line 11: face corner \"4294967298\"", {}},
    {"index past 64 bits", "usemtl quad\nf 1 2 99999999999999999999\n", quad_mtl, {}, 1, "line 11: face corner", {}},
    {"index with a letter", "usemtl quad\nf 1 2 3x\n", quad_mtl, {}, 1, "line 11: face corner \"3x\"", {}},
    {"coordinate nan", "v 0 0 nan\nusemtl quad\nf 1 2 3\n", quad_mtl, {}, 1, "line 10: \"nan\" is not a finite number", {}},
    {"coordinate inf", "vt inf 0\nusemtl quad\nf 1 2 3\n", quad_mtl, {}, 1, "line 10: \"inf\" is not a finite", {}},
    {"coordinate abc", "vn 0 abc 1\nusemtl quad\nf 1 2 3\n", quad_mtl, {}, 1, "line 10: \"abc\" is not a finite", {}},
    {"coordinate missing", "v 0 0\nusemtl quad\nf 1 2 3\n", quad_mtl, {}, 1, "line 10: v holds 2 numbers", {}},
    {"coordinate past a double once scaled", "v 0 0 1e300\nusemtl quad\nf 1 2 5\n", quad_mtl, {"--scale", "1e10"}, 1,
     "line 10: \"1e300\" is not a finite number once scaled by 1e+10", {}},
    {"index 0", "usemtl quad\nf 1 2 0\n", quad_mtl, {}, 1,
     "line 11: face corner \"0\" is not an index that an int holds (not 0)", {}},
    {"texture index reaching back past the first vt", "usemtl quad\nf 1/1 2/2 3/-5\n", quad_mtl, {}, 1,
     "obj: face 1: texture coordinate index out of range (line 11: \"3/-5\", 4 vt lines before it)", {}},
    {"normal index reaching back past the first vn", "vn 0 0 1\nusemtl quad\nf 1//1 2//1 3//-2\n", quad_mtl, {}, 1,
     "obj: face 1: normal index out of range (line 12: \"3//-2\", 1 vn line before it)", {}},
    {"mtllib up and out", "mtllib ../m.mtl\nusemtl quad\nf 1 2 3\n", quad_mtl, {}, 1, "has a \"..\" part, which leads out", {}},
    {"mtllib absolute", "mtllib @DIR@m.mtl\nusemtl quad\nf 1 2 3\n", quad_mtl, {}, 1, "is an absolute path", {}},
    {"map_Kd up and out", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd sub/../../q.png\n", {}, 1,
     "map_Kd \"sub/../../q.png\" of material \"quad\" has a \"..\" part", {}},
    {"map_Kd through a link", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd link/q.png\n", {}, 1,
     "meets a symbolic link", {}},
    {"map_Kd absolute, allowed", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd @DIR@q.png\n", {"--allow-outside"},
     0, "", {{"#_quad", 1}}},
    {"texture over 8192 pixels", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd bomb.png\n", {}, 1,
     "bomb.png: texture of material \"quad\" is a picture of 9000x9000, over 8192", {}},
    {"texture of 16000x30000", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd huge.png\n", {}, 1,
     "is a picture of 16000x30000", {}},
    {"material name with blanks, on both sides", "usemtl  my mat \nf 1 2 3\n", "newmtl my mat\t\nmap_Kd q.png\n", {}, 0, "",
     {{"#_my mat", 1}}},
    {"scale 0 collapses the model", "usemtl quad\nf 1 2 3\n", quad_mtl, {"--scale", "0"}, 2, "usage: pak import-obj", {}},
    // OBJ and MTL files as tools write them.
    {"Blender: Y up, vertex colours, a default material without a picture", "", "", {"--up", "y"}, 0, "",
     {{"#_Material", 2}}, 1, "model",
     {{"in.obj", "# Blender v3.6.0 OBJ File: ''\n# www.blender.org\nmtllib box.mtl\no Wall\n" + y_up_wall +
                     "v 0 0 0 0.5 0.25 1\nusemtl Material\ns off\n" + wall_face},
      {"box.mtl", "# Blender MTL File: 'None'\nnewmtl Material\nNs 250.000000\nKa 1.000000 1.000000 1.000000\n"
                  "Kd 0.800000 0.800000 0.800000\nKs 0.5 0.5 0.5\nNi 1.45\nd 1.0\nillum 2\n"}},
     {{"#_Material", 4, 4, {204, 204, 204}}}, 1},
    {"3ds Max: blanks in names, options and backslashes in map_Kd, a picture of 249x250", "", "", {}, 0, "",
     {{"#_Spider Skin", 2}}, 1, "model",
     {{"in.obj", "# 3ds Max Wavefront OBJ Exporter v0.97b\nmtllib ./spider.mtl\n" + y_up_wall +
                     "g Spider\nusemtl Spider Skin\n" + wall_face},
      {"spider.mtl", "newmtl Spider Skin\n\tNs 10.0000\n\tKd 0.5880 0.5880 0.5880\n"
                     "\tmap_Kd -s 1 1 1 -bm 0.5 .\\Tex Dir\\Spider Tex.png\n"},
      {"Tex Dir/Spider Tex.png", png_text(249, 250, 10, 200, 30)}},
     {{"#_Spider Skin", 256, 256, {10, 200, 30}}}},
    {"hand-written: no mtllib, no usemtl, a UTF-8 byte-order mark", "", "", {}, 0, "", {{"#_default", 1}}, 1, "model",
     {{"in.obj", "\xEF\xBB\xBF" + triangle + "f 1 2 3\n"}}, {{"#_default", 4, 4, {204, 204, 204}}}},
    {"hand-written: an MTL named with a blank in a folder; one colour, one picture; a material no MTL has", "", "",
     {}, 0, "", {{"#_red", 1}, {"#_red", 1}, {"#_ghost", 1}, {"#_pic", 1}}, 1, "model",
     {{"in.obj", "mtllib mats/my mats.mtl\n" + triangle +
                     "usemtl red\nf 1 2 3\nusemtl also red\nf 1 2 3\nusemtl ghost\nf 1 2 3\nusemtl pic\nf 1 2 3\n"},
      {"mats/my mats.mtl", "newmtl red\nKd 1 0 0\nnewmtl also red\nKd 1.0 0.0 0.0\nnewmtl pic\nmap_Kd p.png\n"},
      {"mats/p.png", png_text(8, 8, 1, 2, 3)}},
     {{"#_red", 4, 4, {255, 0, 0}}, {"#_ghost", 4, 4, {204, 204, 204}}, {"#_pic", 8, 8, {1, 2, 3}}}},
    {"UTF-16 (Notepad's Unicode)", "", "", {}, 1, "in.obj: is UTF-16 text: save it as UTF-8", {}, 1, "model",
     {{"in.obj", std::string("\xFF\xFEv\0 \0", 6)}}},
    {"UTF-16 without a byte-order mark", "", "", {}, 1, "in.obj: looks like UTF-16 text (every other byte is 0): save it as UTF-8",
     {}, 1, "model", {{"in.obj", std::string("v\0 \0" "0\0 \0" "0\0", 10)}}},
    {"an MTL with a UTF-8 byte-order mark: its first material keeps its picture", "usemtl quad\nf 1 2 3\n",
     "\xEF\xBB\xBF" + quad_mtl, {}, 0, "", {{"#_quad", 1}}, 1, "model", {}, {{"#_quad", 2, 2, {255, 0, 0}}}},
    {"UTF-16 MTL", "", "", {}, 1, "m.mtl: is UTF-16 text", {}, 1, "model",
     {{"in.obj", "mtllib m.mtl\n" + triangle + "usemtl a\nf 1 2 3\n"}, {"m.mtl", std::string("\xFE\xFF\0n", 4)}}},
    {"texture a BMP (2x1, rows bottom first), written as PNG", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd q.bmp\n", {}, 0, "",
     {{"#_quad", 1}}, 1, "model", {{"q.bmp", bmp_2x1}}, {{"#_quad", 2, 1, {255, 0, 0}}}},
    {"texture a GIF", "usemtl quad\nf 1 2 3\n", "newmtl quad\nmap_Kd q.gif\n", {}, 1, "in GIF format: packs take PNG", {}},
    {"made pictures of one colour shared only with the same flags", "usemtl #$glass\nf 1 2 3\nusemtl wood\nf 1 2 3\n",
     "newmtl #$glass\nKd 1 0 0\nnewmtl wood\nKd 1 0 0\n", {}, 0, "", {{"#$glass", 1}, {"#_wood", 1}}, 1, "model", {},
     {{"#$glass", 4, 4, {255, 0, 0}}, {"#_wood", 4, 4, {255, 0, 0}}}},
};

std::string with_folder(std::string text, const std::string& dir)
{
    for (size_t at; (at = text.find("@DIR@")) != std::string::npos;) text.replace(at, 5, dir);
    return text;
}
}  // namespace

TEST(Obj_import, hand_written_files_are_read_or_refused_with_their_line)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Temp_folder dir;
        write(dir / "in.obj", with_folder(square + c.obj, dir.path));
        if (!c.mtl.empty()) write(dir / "m.mtl", with_folder(c.mtl, dir.path));
        const std::vector<uint8_t> png = Test_packs::png(2, 2, 255, 0, 0);
        write(dir / "q.png", std::string(png.begin(), png.end()));
        write(dir / "bad.png", "not a picture");
        write(dir / "bomb.png", png_claiming(9000, 9000));
        write(dir / "huge.png", png_claiming(16000, 30000));
        write(dir / "q.gif", "GIF89a\x02\0\x02\0\x80\0\0");
        std::filesystem::create_directory_symlink(dir.path, dir / "link");
        for (const auto& [name, text] : c.files) {
            std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
            write(dir / name, text);
        }
        ASSERT_TRUE(Test_packs::write_pack(dir / "pack.pak", {{"old", {1, 2, 3}}}));
        const std::vector<uint8_t> before = Test_files::bytes(dir / "pack.pak");
        std::vector<std::string> args = {"import-obj", dir / "pack.pak", c.entry, dir / "in.obj"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Pak_run r = pak(args);
        ASSERT_EQ(c.code, r.code) << r.err;
        if (c.code != 0) {
            EXPECT_NE(std::string::npos, r.err.find(c.err)) << r.err;
            EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
            EXPECT_EQ(before, Test_files::bytes(dir / "pack.pak"));
            continue;
        }
        Pak pack;
        ASSERT_EQ(Read_reason::ok, pack.read_file(dir / "pack.pak"));
        Pak_entry e = pack.find(c.entry);
        Model m = Model::read(e.data, size_t(e.size));
        ASSERT_EQ(c.meshes.size(), m.meshes.size());
        for (size_t i = 0; i < m.meshes.size(); ++i) {
            EXPECT_EQ(c.meshes[i].first, m.meshes[i].texture_name);
            EXPECT_EQ(c.meshes[i].second, m.meshes[i].triangle_count);
            EXPECT_EQ(m.meshes[i].is_procedural(), pack.find(c.meshes[i].first).empty());
        }
        EXPECT_EQ(c.max_x, m.meshes[0].corner(0, 1).x);
        EXPECT_EQ(c.y, m.meshes[0].corner(0, 1).y);
        if (c.pictures.empty()) continue;
        EXPECT_EQ(int32_t(c.pictures.size() + 2), pack.entry_count());  // and "old" and the model
        for (const Picture& p : c.pictures) {
            const Pak_entry e = pack.find(p.name);
            Image_rgba image;
            ASSERT_TRUE(image.decode(e.data, e.size)) << p.name;
            EXPECT_TRUE(image.width() == p.width && image.height() == p.height) << p.name;
            for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(p.rgb[k], image.pixels()[k], 1) << p.name;
        }
    }
}

// Files that once took from 250 MB to gigabytes to refuse or read, each
// read by the real pak with its address space capped at 160 MB (the
// program itself, and under 9 times the largest file, of 18 MB): a face
// past what a pack holds, a face of 4 million corners out of range, tag
// lines (t) and an MTL of a million materials no face uses.
TEST(Obj_import, memory_follows_the_file_not_what_it_makes_or_claims)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit a capped address space";
#endif
    const struct {
        const char* what;
        std::string obj, mtl;
        const char* err;  // a part of the one line; none: imported
    } rows[] = {
        {"face past a pack", "usemtl quad\nf" + repeated(" 1 2 3", 3000000) + "\n", quad_mtl,
         "in.obj: 8999998 triangles make a model larger than the pack has room for"},
        {"face out of range", "usemtl quad\nf" + repeated(" 9", 4000000) + "\n", quad_mtl,
         "in.obj: face 1: vertex index out of range"},
        {"tag lines", "usemtl quad\nf 1 2 3\n" + repeated("t a 8192/8192/8192\n", 2000), quad_mtl, nullptr},
        {"unused materials", "usemtl quad\nf 1 2 3\n", quad_mtl + repeated("newmtl a\n", 1000000), nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Temp_folder dir;
        write(dir / "in.obj", square + row.obj);
        write(dir / "m.mtl", row.mtl);
        const std::vector<uint8_t> png = Test_packs::png(2, 2, 255, 0, 0);
        write(dir / "q.png", std::string(png.begin(), png.end()));
        const std::string run = "ulimit -v 163840 && exec '" GARDENLUME_BIN_DIR "/pak' import-obj '" + dir.path +
                                "p.pak' model '" + dir.path + "in.obj' 2>'" + dir.path + "err'";
        const int status = std::system(run.c_str());
        const std::string err = Test_files::text(dir / "err");
        ASSERT_TRUE(WIFEXITED(status)) << err;
        EXPECT_EQ(row.err ? 1 : 0, WEXITSTATUS(status)) << err;
        EXPECT_NE(std::string::npos, err.find(row.err ? row.err : "")) << err;
    }
}

// The reader's triangle limit: a model of exactly as many triangles as the
// pack has room for is read, one more is refused before anything is built.
TEST(Obj_reader, a_model_at_the_triangle_limit_is_read_and_one_past_it_refused)
{
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";  // 2 triangles
    for (const size_t limit : {2, 1}) {
        Obj_reader reader;
        EXPECT_EQ(limit == 2, reader.parse(obj.data(), obj.size(), "m.obj", 1, false, {}, limit)) << limit;
        EXPECT_EQ(limit == 2, reader.problem.empty()) << reader.problem;
    }
}

// Each picture is scaled to the nearest power of two a side (by ratio), at
// most 1024, keeping its colour; one that fits is kept byte for byte.
TEST(Obj_import, pictures_are_scaled_to_power_of_two_sides_of_at_most_1024)
{
    const struct {
        int w, h, out_w, out_h;
    } rows[] = {{249, 250, 256, 256}, {768, 768, 1024, 1024}, {724, 725, 512, 1024}, {2048, 512, 1024, 512},
                {1500, 1, 1024, 1},   {1, 3, 1, 4},           {64, 32, 64, 32}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.w) + "x" + std::to_string(row.h));
        Temp_folder dir;
        write(dir / "in.obj", square + "usemtl quad\nf 1/1 2/2 3/3\n");
        write(dir / "m.mtl", quad_mtl);
        const std::string picture = png_text(row.w, row.h, 40, 120, 250);
        write(dir / "q.png", picture);
        ASSERT_EQ(0, pak({"import-obj", dir / "pack.pak", "model", dir / "in.obj"}).code);
        Pak pack;
        ASSERT_EQ(Read_reason::ok, pack.read_file(dir / "pack.pak"));
        const Pak_entry e = pack.find("#_quad");
        Image_rgba image;
        ASSERT_TRUE(image.decode(e.data, e.size));
        EXPECT_TRUE(image.width() == row.out_w && image.height() == row.out_h) << image.width() << "x" << image.height();
        const uint8_t* p = image.pixels() + (size_t(image.width()) * size_t(image.height()) - 1) * 4;
        EXPECT_TRUE(std::abs(p[0] - 40) <= 1 && std::abs(p[1] - 120) <= 1 && std::abs(p[2] - 250) <= 1 && p[3] == 255);
        EXPECT_EQ(row.w == row.out_w && row.h == row.out_h, picture == std::string(e.data, e.data + e.size));
    }
}
