// The pak tool driven from outside, as an asset author runs it: its output,
// its exit codes (0 ok, 1 failure, 2 usage) and the files it writes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/Byte_writer.h"
#include "resources/Model_writer.h"
#include "resources/Pak.h"
#include "tests/support/Test_packs.h"
#include "tools/common/Png_writer.h"
#include "tests/support/Small_tmpfs.h"
#include "tests/support/Test_files.h"

namespace fs = std::filesystem;

namespace {
struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) { return Test_files::text(path); }

class Pak_tool_test : public testing::Test {
protected:
    void SetUp() override
    {
        dir = Test_files::make_folder("gardenlume_paktool_");
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { Test_files::remove_all(dir); }

    // Runs bin/pak with the arguments (shell-quoted here), in dir.
    Result pak(const std::string& args) { return shell("'" GARDENLUME_BIN_DIR "/pak' " + args); }

    // Runs a shell command line in dir; PAK names the tool.
    Result shell(const std::string& line)
    {
        std::string cmd = "cd '" + dir + "' && PAK='" GARDENLUME_BIN_DIR "/pak' && { " + line + "; } >'" + dir +
                          ".out' 2>'" + dir + ".err'";
        int status = std::system(cmd.c_str());
        Result r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        r.out = slurp(dir + ".out");
        r.err = slurp(dir + ".err");
        fs::remove(dir + ".out");
        fs::remove(dir + ".err");
        return r;
    }

    void write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(dir + name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    }

    std::string dir;
};

std::string slurp_bytes(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

int lines(const std::string& s) { return int(std::count(s.begin(), s.end(), '\n')); }
}  // namespace

TEST_F(Pak_tool_test, usage_errors_exit_2)
{
    EXPECT_EQ(pak("").code, 2);
    EXPECT_EQ(pak("frobnicate x").code, 2);
    EXPECT_EQ(pak("list").code, 2);
    EXPECT_EQ(pak("list a b").code, 2);
    EXPECT_EQ(pak("add a b").code, 2);
    EXPECT_EQ(pak("create out.pak").code, 2);
}

TEST_F(Pak_tool_test, list_shows_names_sizes_and_kinds_in_directory_order)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "p.pak", {{"tree", Test_packs::quad_model("bark.png", 1, 1)},
                                                       {"bark.png", Test_packs::png(64, 32, 1, 2, 3, 4)},
                                                       {"notes", {'h', 'i'}}}));
    Result r = pak("list p.pak");
    EXPECT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(lines(r.out), 3);
    size_t tree = r.out.find("tree"), bark = r.out.find("bark.png"), notes = r.out.find("notes");
    EXPECT_LT(tree, bark);
    EXPECT_LT(bark, notes);
    EXPECT_NE(r.out.find("model, 1 mesh\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("image 64x32"), std::string::npos);
    EXPECT_NE(r.out.find("other"), std::string::npos);
}

TEST_F(Pak_tool_test, bad_input_is_one_line_and_exit_1_never_a_crash)
{
    write("garbage.pak", {0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 2});
    std::vector<uint8_t> good = Test_packs::pack_bytes({{"a", {1, 2, 3}}, {"b", {4, 5, 6}}});
    good.resize(good.size() - 2);
    write("short.pak", good);
    for (std::string cmd : {"list missing.pak", "list garbage.pak", "list short.pak", "info missing.pak x",
                            "info short.pak b", "extract missing.pak out/", "extract garbage.pak out/",
                            "add missing.pak n f", "texgen nonsense 0 o.png", "create o.pak missing-file"}) {
        Result r = pak(cmd);
        EXPECT_EQ(r.code, 1) << cmd << ": " << r.err;
        EXPECT_GE(lines(r.err), 1) << cmd;
        EXPECT_NE(r.err.find("pak: "), std::string::npos) << cmd;
    }
    Result r = pak("list short.pak");
    EXPECT_NE(r.out.find("a "), std::string::npos);  // the complete entry is still listed
    EXPECT_EQ(lines(r.err), 1);
}

TEST_F(Pak_tool_test, create_names_entries_by_their_paths_and_extract_restores_them)
{
    fs::create_directory(dir + "textures");
    write("textures/bark.png", Test_packs::png(2, 2, 9, 9, 9, 9));
    write("tree", Test_packs::quad_model("textures/bark.png", 1, 1));
    ASSERT_EQ(pak("create new.pak tree textures/bark.png").code, 0);
    Pak p;
    ASSERT_EQ(p.read_file(dir + "new.pak"), Read_reason::ok);
    ASSERT_EQ(p.entry_count(), 2);
    EXPECT_EQ(p.name(0), "tree");
    EXPECT_EQ(p.name(1), "textures/bark.png");
    Result r = pak("extract new.pak out/");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(slurp(dir + "out/textures/bark.png"), slurp(dir + "textures/bark.png"));
    EXPECT_EQ(slurp(dir + "out/tree"), slurp(dir + "tree"));
}

TEST_F(Pak_tool_test, extract_refuses_names_outside_the_folder_and_says_which)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "evil.pak", {{"../escape", {1}}, {"ok", {2}}}));
    fs::create_directory(dir + "out");
    Result r = pak("extract evil.pak out/");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("../escape"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "escape"));
    EXPECT_TRUE(fs::exists(dir + "out/ok"));
}

TEST_F(Pak_tool_test, add_appends_an_entry_and_keeps_the_others)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "p.pak", {{"a", {1}}}));
    write("f", {7, 7, 7});
    ASSERT_EQ(pak("add p.pak newname f").code, 0);
    Pak p;
    ASSERT_EQ(p.read_file(dir + "p.pak"), Read_reason::ok);
    ASSERT_EQ(p.entry_count(), 2);
    EXPECT_EQ(p.name(1), "newname");
    EXPECT_EQ(p.find("newname").size, 3);
    EXPECT_EQ(p.find("a").size, 1);
    for (auto& e : fs::directory_iterator(dir))  // no temporary file left behind
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos);
}

TEST_F(Pak_tool_test, add_refuses_long_names_and_broken_packs_and_leaves_them_unchanged)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "p.pak", {{"a", {1}}}));
    write("f", {7});
    std::string before = slurp(dir + "p.pak");
    EXPECT_EQ(pak("add p.pak " + std::string(128, 'n') + " f").code, 1);
    EXPECT_EQ(slurp(dir + "p.pak"), before);
    std::vector<uint8_t> broken = Test_packs::pack_bytes({{"a", {1, 2, 3}}, {"b", {4, 5, 6}}});
    broken.pop_back();
    write("broken.pak", broken);
    EXPECT_EQ(pak("add broken.pak c f").code, 1);
    EXPECT_EQ(slurp(dir + "broken.pak").size(), broken.size());
}

TEST_F(Pak_tool_test, info_lists_meshes_flags_triangles_and_box)
{
    Model_writer w;
    w.begin_mesh("#$glow.png");
    const double p[9] = {-1, -2, -3, 4, 5, 6, 0, 0, 0};
    const double uv[6] = {0, 0, 0, 0, 0, 0};
    w.add_triangle(p, uv);
    w.begin_mesh("##Plasma64x64 ,1,2,3");
    ASSERT_TRUE(Test_packs::write_pack(dir + "m.pak", {{"model", w.bytes()}}));
    Result r = pak("info m.pak model");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("#$glow.png"), std::string::npos);
    EXPECT_NE(r.out.find("no alpha test, blended"), std::string::npos);
    EXPECT_NE(r.out.find("procedural"), std::string::npos);
    EXPECT_NE(r.out.find("(-1, -2, -3) to (4, 5, 6)"), std::string::npos);
    EXPECT_NE(r.out.find("1 triangle,"), std::string::npos);
}

TEST_F(Pak_tool_test, info_says_what_stopped_the_reading)
{
    std::vector<uint8_t> m = Test_packs::quad_model("a.png", 1, 1);
    m.resize(m.size() - 1);
    ASSERT_TRUE(Test_packs::write_pack(dir + "m.pak", {{"model", m}}));
    Result r = pak("info m.pak model");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("reading stopped: mesh 0: the triangles run past the end"), std::string::npos) << r.out;
    EXPECT_EQ(pak("info m.pak absent").code, 1);
}

// A model whose header counts more meshes than the entry holds, put in the
// shipped place of "fon" with pak itself: verify and export-obj refuse it as
// cut short in one line, info says so where the reading stopped.
TEST_F(Pak_tool_test, a_model_counting_more_meshes_than_it_holds_is_cut_short)
{
    const double p[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0}, uv[6] = {};
    Model_writer one, none;
    one.begin_mesh("#fon.png");
    one.add_triangle(p, uv);
    Model_writer empty_mesh;
    empty_mesh.begin_mesh("#fon.png");
    const struct {
        std::vector<uint8_t> model;
        size_t count_at;
        uint32_t count;
        const char* read;
    } rows[] = {
        {one.bytes(), 1, 3, "(1 of 3)"},
        {one.bytes(true), 5, 2, "(1 of 2)"},
        {empty_mesh.bytes(), 1, 2, "(1 of 2)"},
        {none.bytes(), 1, 2, "(0 of 2)"},
    };
    ASSERT_TRUE(Test_packs::write_all(dir + "install"));
    const std::string cut = "cut short: the entry ends before the meshes its header counts ";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.read);
        std::vector<uint8_t> model = row.model;
        Byte_writer::u32_at(model, row.count_at, row.count);
        write("fon", model);
        ASSERT_EQ(pak("add --replace install/main.pak fon fon").code, 0);
        Result verify = pak("verify install"), info = pak("info install/main.pak fon"),
               exported = pak("export-obj install/main.pak fon out");
        EXPECT_EQ(verify.code, 1);
        EXPECT_EQ(lines(verify.err), 2) << verify.err;  // the model, the summary
        EXPECT_NE(verify.err.find("model \"fon\": " + cut + row.read), std::string::npos) << verify.err;
        EXPECT_EQ(info.code, 1);
        EXPECT_NE(info.out.find("reading stopped: " + cut + row.read), std::string::npos) << info.out;
        EXPECT_EQ(exported.code, 1);
        EXPECT_EQ(lines(exported.err), 1) << exported.err;
        EXPECT_NE(exported.err.find("(the entry ends before the meshes its header counts)"), std::string::npos)
            << exported.err;
        EXPECT_FALSE(fs::exists(dir + "out/fon.obj"));
    }
}

TEST_F(Pak_tool_test, texgen_writes_the_plasma_image_as_png)
{
    Result r = pak("texgen '##Plasma64x32 ,0,0,0' 0 plasma.png");
    ASSERT_EQ(r.code, 0) << r.err;
    std::string png = slurp(dir + "plasma.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(pak("texgen '##Plasma99999x99999 ,1,2,3' 0 big.png").code, 1);
    EXPECT_FALSE(fs::exists(dir + "big.png"));
    EXPECT_EQ(pak("texgen '##Marble8x8 ,1,2,3' 0 m.png").code, 1);
    EXPECT_EQ(pak("texgen '##Plasma8x8 ,1,2,3' soon m.png").code, 2);
}

TEST_F(Pak_tool_test, verify_passes_on_a_complete_folder)
{
    ASSERT_TRUE(Test_packs::write_all(dir + "install"));
    Result r = pak("verify install");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST_F(Pak_tool_test, verify_lists_every_missing_or_broken_piece_and_exits_1)
{
    ASSERT_TRUE(Test_packs::write_all(dir + "install/"));
    fs::remove(dir + "install/butterfly3.pak");
    // main.pak without "nn", with a model whose texture is missing and a
    // model cut short.
    std::vector<uint8_t> cut = Test_packs::quad_model("#fon.png", 40, 30);
    cut.resize(cut.size() - 10);
    ASSERT_TRUE(Test_packs::write_pack(dir + "install/main.pak",
                                       {{"tree", Test_packs::quad_model("absent.png", 1, 1)},
                                        {"fon", cut},
                                        {"#fon.png", {'x'}}}));
    Result r = pak("verify install");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("butterfly3.pak: missing"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no entry \"nn\""), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("texture \"absent.png\" is missing"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("model \"fon\""), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("butterfly1.pak"), std::string::npos) << r.err;
}

TEST_F(Pak_tool_test, verify_of_an_empty_folder_names_all_six_packs)
{
    fs::create_directory(dir + "empty");
    Result r = pak("verify empty/");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lines(r.err), 7);  // six packs and the summary
}

// Hostile packs, inputs and folders for the writers: each is refused with
// exit 1 and one line naming what was wrong, and no file changes.
TEST_F(Pak_tool_test, create_add_and_remove_refuse_what_would_lose_or_misplace_data)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "p.pak", {{"a", {1}}, {"#_bark.png", {2}}}));
    write("f", {7, 7});
    ASSERT_EQ(mkfifo((dir + "fifo").c_str(), 0600), 0);
    std::vector<uint8_t> low_count = Test_packs::pack_bytes({{"a", {1}}, {"b", {2}}});
    low_count[0] = 1;  // "b" is still in the file but not counted
    write("low.pak", low_count);
    low_count[0] = 2;
    low_count.push_back(9);
    write("trailing.pak", low_count);
    fs::create_symlink("p.pak", dir + "link.pak");
    const char* const cases[][2] = {
        {"add p.pak n /tmp", "/tmp: cannot be read"},
        {"add p.pak n /dev/zero", "/dev/zero: cannot be read"},
        {"add p.pak n fifo", "fifo: cannot be read"},
        {"add p.pak a f", "already holds an entry \"a\""},
        {"add --replace p.pak bark.png f", "holds no entry \"bark.png\" to replace; it holds \"#_bark.png\""},
        {"remove p.pak a bark.png", "holds no entry \"bark.png\"; it holds \"#_bark.png\""},
        {"remove trailing.pak a", "1 bytes after the last of its 2 listed entries would be lost"},
        {"add low.pak n f", "7 bytes after the last of its 1 listed entries would be lost"},
        {"add trailing.pak n f", "1 bytes after the last of its 2 listed entries would be lost"},
        {"add link.pak n f", "link.pak: is a symbolic link"},
        {"create p.pak f f", "entry \"f\" given twice"},
        {"create p.pak f /tmp", "/tmp: cannot be read"},
        {"create link.pak f", "link.pak: is a symbolic link"},
    };
    auto files = [this] {
        return slurp(dir + "p.pak") + "|" + slurp(dir + "low.pak") + "|" + slurp(dir + "trailing.pak");
    };
    const std::string before = files();
    for (const auto& c : cases) {
        Result r = pak(c[0]);
        EXPECT_EQ(r.code, 1) << c[0];
        EXPECT_EQ(lines(r.err), 1) << c[0] << ": " << r.err;
        EXPECT_NE(r.err.find(c[1]), std::string::npos) << c[0] << ": " << r.err;
        EXPECT_EQ(files(), before) << c[0];
    }
    EXPECT_TRUE(fs::is_symlink(dir + "link.pak"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 6);  // no temporary left
}

TEST_F(Pak_tool_test, add_replace_never_writes_through_a_link_at_the_old_temporary_name)
{
    // The shell's pid is the tool's after exec: the name the tool once used.
    ASSERT_TRUE(Test_packs::write_pack(dir + "p.pak", {{"a", {1}}, {"b", {2}}}));
    write("f", {7, 7});
    write("victim", {'v'});
    Result r = shell("ln -s victim p.pak.tmp$$ && exec \"$PAK\" add --replace p.pak a f");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(slurp(dir + "victim"), "v");
    EXPECT_FALSE(fs::is_symlink(dir + "p.pak"));
    EXPECT_EQ(slurp(dir + "p.pak"), slurp_bytes(Test_packs::pack_bytes({{"a", {7, 7}}, {"b", {2}}})));
}

// The old file's blocks would free room for a cut copy if it went first;
// extract writes an entry named "p.pak" over the same file.
TEST_F(Pak_tool_test, a_full_disk_leaves_the_old_file_byte_for_byte_and_says_why)
{
    const std::string full = dir + "full";
    const Small_tmpfs disk(full, "64k");
    if (!disk.mounted()) GTEST_SKIP() << "no small tmpfs to fill: " << disk.error();
    std::vector<uint8_t> big(48 * 1024, 'b');
    write("big", big);
    ASSERT_TRUE(Test_packs::write_pack(dir + "src.pak", {{"p.pak", std::vector<uint8_t>(40000, 'x')}}));
    ASSERT_TRUE(Test_packs::write_pack(full + "/p.pak", {{"a", std::vector<uint8_t>(30000, 'a')}}));
    std::ofstream filler(full + "/filler", std::ios::binary);
    filler.write(reinterpret_cast<const char*>(big.data()), long(big.size())).flush();
    const std::string before = slurp(full + "/p.pak");
    for (std::string args : {"create full/p.pak big", "add full/p.pak n big", "add --replace full/p.pak a big",
                             "extract src.pak full/"}) {
        Result r = pak(args);
        EXPECT_EQ(r.code, 1) << args;
        EXPECT_NE(r.err.find("full/p.pak: cannot"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
        const std::string now = slurp(full + "/p.pak");
        EXPECT_TRUE(now == before) << args << ": " << now.size() << " bytes, not the old " << before.size();
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(full), fs::directory_iterator()), 2);  // no temporary left
}

// Hostile target folders for extract: nothing is written through a link,
// a repeated name is written once, and the other entries still land.
TEST_F(Pak_tool_test, extract_never_follows_a_link_and_writes_a_repeated_name_once)
{
    fs::create_directories(dir + "out/real");
    fs::create_directory(dir + "outside");
    write("victim", {'v'});
    fs::create_directory_symlink("../outside", dir + "out/sub");
    fs::create_symlink("../victim", dir + "out/link");
    fs::create_directory_symlink("../../outside", dir + "out/real/deep");
    write("out/old", {'o'});  // a file from an earlier extraction is replaced
    ASSERT_TRUE(Test_packs::write_pack(dir + "p.pak", {{"sub/x.txt", {1}}, {"link", {2}}, {"real/deep/y", {3}},
                                                       {"dup", {4}}, {"old", {5}}, {"dup", {6}}}));
    Result r = pak("extract p.pak out/");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lines(r.err), 4) << r.err;
    for (std::string refused : {"\"sub/x.txt\" refused", "\"link\" refused", "\"real/deep/y\" refused",
                                "\"dup\" skipped"})
        EXPECT_NE(r.err.find(refused), std::string::npos) << refused << " in " << r.err;
    EXPECT_TRUE(fs::is_empty(dir + "outside"));
    EXPECT_EQ(slurp(dir + "victim"), "v");
    EXPECT_EQ(slurp(dir + "out/dup"), "\x04");
    EXPECT_EQ(slurp(dir + "out/old"), "\x05");
}

TEST_F(Pak_tool_test, readers_warn_of_bytes_after_the_listed_entries_and_help_says_what_is_refused)
{
    ASSERT_TRUE(Test_packs::write_all(dir + "install"));
    std::ofstream(dir + "install/main.pak", std::ios::binary | std::ios::app).write("junk", 4);
    for (std::string args : {"list install/main.pak", "info install/main.pak tree", "verify install"}) {
        Result r = pak(args);
        EXPECT_EQ(r.code, 0) << args << ": " << r.err;
        EXPECT_NE(r.err.find("main.pak: warning: 4 bytes after the last of its"), std::string::npos) << args;
    }
    Result help = pak("help");
    for (std::string part : {"add --replace", "symbolic link", "bytes after its listed entries", "full disk",
                             "--allow-outside", "8192 pixels", "PNG or JPEG", "export-obj:"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    std::istringstream text(help.out);
    for (std::string line; std::getline(text, line);) EXPECT_LE(line.size(), 80u) << line;
}

// Each failure a new user meets is one line that names what went wrong (the
// system's own words for a folder that may not be written), or the help.
// The writes run as an ordinary user: root may write anywhere.
TEST_F(Pak_tool_test, each_mistake_gets_one_line_that_says_what_it_is)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "p.pak", {{"tree", Test_packs::quad_model("bark.png", 1, 1)},
                                                       {"bark.png", Test_packs::png(4, 2, 1, 2, 3, 4)},
                                                       {"notes", {'h', 'i'}}}));
    write("empty", {});
    write("text.txt", {'s', 'k', 'y', ':', ' ', 'b', 'l', 'u', 'e', '\n'});
    fs::create_directory(dir + "locked");
    fs::permissions(dir, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir + "locked", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    const std::string user = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const struct {
        std::string args;
        int code;
        const char* says;  // on stdout for code 0, else on stderr in one line
    } rows[] = {
        {"--help", 0, "usage:"},
        {"-h", 0, "exit codes"},
        {"list empty", 1, "empty: not a pack"},
        {"list text.txt", 1, "text.txt: not a pack"},
        {"verify p.pak", 2, "verify takes the installation folder"},
        {"import-obj p.pak m x.obj --scale 2 --up x", 2, "import-obj --up takes y or z; usage:"},
        {"export-obj p.pak tree out --up x", 2, "export-obj --up takes y or z; usage:"},
        {"info p.pak bark.png", 1, "\"bark.png\" is a picture"},
        {"texgen '##Plasma8x8 ,1,2,3' 0 locked/p.png", 1, "locked/p.png: may not be changed by this user: Permission denied"},
        {"export-obj p.pak tree locked/sub", 1, "locked/sub/: the folder cannot be made: Permission denied"},
        {"extract p.pak locked/", 1, "locked/: may not be changed by this user: Permission denied (3 entries"},
    };
    for (const auto& row : rows) {
        Result r = shell(user + "\"$PAK\" " + row.args);
        EXPECT_EQ(r.code, row.code) << row.args << ": " << r.err;
        EXPECT_NE((row.code ? r.err : r.out).find(row.says), std::string::npos) << row.args << ": " << r.err << r.out;
        EXPECT_EQ(lines(r.err), row.code ? 1 : 0) << row.args << ": " << r.err;
    }
    EXPECT_TRUE(fs::is_empty(dir + "locked"));
}
