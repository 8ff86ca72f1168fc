// Each pak command that writes says in one line what it wrote; remove takes
// every entry of the names given and keeps the others in their order.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/Pak.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_packs.h"
#include "tests/tools/pak/Pak_run.h"

TEST(Pak_writes, each_command_that_writes_says_what_it_wrote_in_one_line)
{
    Temp_folder dir;
    ASSERT_TRUE(Test_packs::write_pack(dir / "p.pak", {{"tree", Test_packs::quad_model("bark.png", 1, 1)},
                                                       {"bark.png", Test_packs::png(4, 2, 1, 2, 3, 4)}}));
    write(dir / "f", "ff");
    const struct {
        std::vector<std::string> args;
        std::string says;
    } rows[] = {
        {{"create", dir / "new.pak", dir / "f"}, "new.pak: written, 1 entry"},
        {{"add", dir / "p.pak", "notes", dir / "f"}, "p.pak: entry \"notes\" added, 2 bytes"},
        {{"add", dir / "p.pak", "more", dir / "f"}, "p.pak: entry \"more\" added"},
        {{"extract", dir / "p.pak", dir / "out/"}, "out/: 4 entries written"},
        {{"texgen", "##Plasma64x32 ,0,0,0", "0", dir / "plasma.png"}, "plasma.png: written, 64x32 at 0 ms"},
        {{"export-obj", dir / "p.pak", "tree", dir / "obj"}, "obj/tree.obj: written, with " + dir / "obj/tree.mtl and 1 picture"},
        {{"import-obj", dir / "q.pak", "tree", dir / "obj/tree.obj"},
         "q.pak: model \"tree\" written, 1 mesh of 2 triangles, and 1 picture"},
        {{"remove", dir / "p.pak", "notes", "more"}, "p.pak: 2 entries taken out: \"notes\", \"more\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[0]);
        const Pak_run r = pak(row.args);
        EXPECT_EQ(0, r.code) << r.err;
        EXPECT_EQ(1, std::count(r.out.begin(), r.out.end(), '\n')) << r.out;
        EXPECT_NE(std::string::npos, r.out.find(row.says)) << r.out;
    }
    Pak p;
    ASSERT_EQ(Read_reason::ok, p.read_file(dir / "p.pak"));
    ASSERT_EQ(2, p.entry_count());
    EXPECT_EQ("bark.png", p.name(1));
}
