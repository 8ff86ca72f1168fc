// pak import-obj --replace over a pack that other models share, driven
// from outside: what it makes again, keeps and takes out, and what it says.
#include <gtest/gtest.h>

#include "resources/Image_rgba.h"
#include "resources/Model_writer.h"
#include "resources/Pak.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_packs.h"
#include "tests/tools/pak/Pak_run.h"

namespace {
// A model of one triangle a picture, for the packs an import replaces in.
std::vector<uint8_t> model_naming(const std::vector<std::string>& pictures)
{
    Model_writer w;
    const double xyz[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0}, uv[6] = {};
    for (const std::string& p : pictures) {
        w.begin_mesh(p);
        w.add_triangle(xyz, uv);
    }
    return w.bytes();
}

const std::vector<uint8_t> red_square = Test_packs::png(4, 4, 255, 0, 0), grey_square = Test_packs::png(4, 4, 204, 204, 204);
const std::string square = "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
}  // namespace

// A picture it made before is made again; one another model names is
// kept, and said; the pictures only the replaced model named go, and a
// line says which.
TEST(Obj_import, replace_remakes_its_own_pictures_keeps_others_and_takes_out_what_only_the_old_model_named)
{
    const struct {
        const char* what;
        Test_packs::Entries pack;
        std::string obj, mtl;
        std::vector<std::pair<std::string, int>> pictures;  // and their red: -1 for gone
        std::string says;                                   // on stdout
    } rows[] = {
        {"a made picture is made in the colour its material has now",
         {{"model", model_naming({"#_mat"})}, {"#_mat", red_square}}, "usemtl mat\nf 1 2 3\n", "newmtl mat\nKd 0 0 1\n",
         {{"#_mat", 0}}, "made \"#_mat\", a square of its colour (RGB 0 0 255"},
        {"Blender's #_Material of another model is kept, and said",
         {{"tree", model_naming({"#_Material"})}, {"#_Material", grey_square}, {"model", model_naming({})}},
         "usemtl Material\nf 1 2 3\n", "newmtl Material\nKd 1 0 0\n", {{"#_Material", 204}},
         "the pack's own \"#_Material\" is kept, as model \"tree\" names it too"},
        {"a tree replaced by a box",
         {{"model", model_naming({"#_lawn.png", "#_shared.png", "#_bark.png"})}, {"fon", model_naming({"#_shared.png"})},
          {"#_lawn.png", red_square}, {"#_shared.png", red_square}, {"#_bark.png", red_square}, {"#_loose.png", red_square}},
         "f 1 2 3\n", "", {{"#_lawn.png", -1}, {"#_bark.png", -1}, {"#_shared.png", 255}, {"#_loose.png", 255}},
         "main.pak: 2 pictures that only the old \"model\" named taken out: \"#_bark.png\", \"#_lawn.png\"\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Temp_folder dir;
        write(dir / "in.obj", square + row.obj);
        write(dir / "m.mtl", row.mtl);
        ASSERT_TRUE(Test_packs::write_pack(dir / "main.pak", row.pack));
        const Pak_run r = pak({"import-obj", "--replace", dir / "main.pak", "model", dir / "in.obj"});
        ASSERT_EQ(0, r.code) << r.err;
        EXPECT_NE(std::string::npos, r.out.find(row.says)) << r.out;
        Pak pack;
        ASSERT_EQ(Read_reason::ok, pack.read_file(dir / "main.pak"));
        for (const auto& [name, red] : row.pictures) {
            const Pak_entry e = pack.find(name);
            Image_rgba image;
            EXPECT_EQ(red >= 0, image.decode(e.data, e.size)) << name;
            EXPECT_EQ(red, image.pixels() ? image.pixels()[0] : -1) << name;
        }
    }
}
