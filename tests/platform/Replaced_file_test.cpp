// Both writers that put a new file in an old one's place (Atomic_file,
// Confined_writer), on real files: the old file's owner, group and mode go
// to the new one; a file with other names is refused and left as it was.
#include <gtest/gtest.h>

#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Atomic_file.h"
#include "platform/Confined_writer.h"
#include "tests/support/Saver_process.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_packs.h"

TEST(Replaced_file, keeps_the_old_files_owner_group_and_mode_and_refuses_a_hard_link)
{
    const std::string bytes = "new";
    const struct {
        const char* name;
        std::function<Write_status(const Temp_folder&, const std::string&)> write;
    } writers[] = {
        {"Atomic_file",
         [&](const Temp_folder& d, const std::string& f) {
             return Atomic_file::replace(d / f, d / (f + ".tmp-XXXXXX"), bytes.data(), bytes.size(), 0644);
         }},
        {"Confined_writer", [&](const Temp_folder& d, const std::string& f) {
             return Confined_writer::write(d.path, f, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
         }}};
    // Root writing over another user's file leaves it theirs, and over a
    // file of its own in another group (root:somegroup) leaves that group;
    // anyone's private file stays private.
    std::vector<std::pair<uid_t, gid_t>> owners = {{geteuid(), getegid()}};
    if (geteuid() == 0) owners = {{65534, 65534}, {0, 65534}};
    for (const auto& w : writers) {
        for (const auto& [owner, group] : owners) {
            SCOPED_TRACE(std::string(w.name) + " over " + std::to_string(owner) + ":" + std::to_string(group));
            Temp_folder dir;
            std::ofstream(dir / "theirs") << "old";
            ASSERT_EQ(chown((dir / "theirs").c_str(), owner, group), 0);
            ASSERT_EQ(chmod((dir / "theirs").c_str(), 0600), 0);
            ASSERT_TRUE(w.write(dir, "theirs").ok());
            struct stat st;
            ASSERT_EQ(stat((dir / "theirs").c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, owner);
            EXPECT_EQ(st.st_gid, group);
            EXPECT_EQ(st.st_mode & 07777, 0600u);
            EXPECT_EQ(Test_files::text(dir / "theirs"), bytes);

            std::ofstream(dir / "linked") << "old";
            ASSERT_EQ(link((dir / "linked").c_str(), (dir / "other").c_str()), 0);
            const Write_status linked = w.write(dir, "linked");
            EXPECT_EQ(linked.reason, Write_reason::cannot_replace);
            EXPECT_NE(linked.detail.find("hard links"), std::string::npos) << linked.detail;
            EXPECT_EQ(Test_files::text(dir / "linked"), "old");

            // New bytes never take the old file's set-id bits.
            std::ofstream(dir / "setid") << "old";
            ASSERT_EQ(chmod((dir / "setid").c_str(), 04755), 0);
            ASSERT_TRUE(w.write(dir, "setid").ok());
            ASSERT_EQ(stat((dir / "setid").c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, 0755u);
        }
    }
}

// Linked with renameat2 wrapped: a file system that cannot rename without
// replacing (RENAME_NOREPLACE) answers EINVAL.
static bool without_noreplace = false;
extern "C" int __real_renameat2(int, const char*, int, const char*, unsigned);
extern "C" int __wrap_renameat2(int from_dir, const char* from, int to_dir, const char* to, unsigned flags)
{
    if (without_noreplace && (flags & RENAME_NOREPLACE)) {
        errno = EINVAL;
        return -1;
    }
    return __real_renameat2(from_dir, from, to_dir, to, flags);
}

TEST(Replaced_file, a_new_file_never_replaces_one_already_there)
{
    for (const bool fallback : {false, true}) {
        SCOPED_TRACE(fallback ? "a file system without RENAME_NOREPLACE" : "RENAME_NOREPLACE");
        without_noreplace = fallback;
        Temp_folder dir;
        std::ofstream(dir / "made") << "theirs";
        const std::string bytes = "ours";
        const Write_status made =
            Atomic_file::create_owned(dir / "made", dir / "made.tmp-XXXXXX", bytes.data(), bytes.size(), 0600);
        EXPECT_EQ(made.reason, Write_reason::cannot_replace);
        EXPECT_EQ(Test_files::text(dir / "made"), "theirs");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);
        EXPECT_TRUE(Atomic_file::create_owned(dir / "new", dir / "new.tmp-XXXXXX", bytes.data(), bytes.size(), 0600)
                        .ok());
        EXPECT_EQ(Test_files::text(dir / "new"), "ours");
        without_noreplace = false;
    }
}

// Run as root with a user's HOME, whose folder is user:root: the new file is
// the user's, in the user's own group, as the user would have made it.
TEST(Replaced_file, a_new_file_made_as_root_is_the_folder_owners_in_their_own_group)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give files away";
    Temp_folder dir;
    const struct passwd* nobody = getpwuid(65534);
    ASSERT_NE(nobody, nullptr);
    ASSERT_NE(nobody->pw_gid, 0u);
    ASSERT_EQ(chown(dir.path.c_str(), 65534, 0), 0);
    const std::string bytes = "ours";
    ASSERT_TRUE(
        Atomic_file::create_owned(dir / "made", dir / "made.tmp-XXXXXX", bytes.data(), bytes.size(), 0600).ok());
    struct stat st;
    ASSERT_EQ(stat((dir / "made").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, nobody->pw_gid);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

namespace {

// A program of the build or the system run to its end, as root as it is or
// as `user` through setpriv; its exit code, -1 when it did not end.
int run(const std::string& program, const std::vector<std::string>& args, uid_t user = 0,
        const Saver_process::Environment& env = {}, std::string* out = nullptr)
{
    std::vector<std::string> line = args;
    std::string path = program;
    if (user != 0) {
        const std::string id = std::to_string(user);
        line.insert(line.begin(), {"--reuid=" + id, "--regid=" + id, "--clear-groups", program});
        path = "/usr/bin/setpriv";
    }
    Saver_process p;
    if (!p.start(path, line, env) || !p.wait(20000)) return -1;
    if (out) *out = p.stdout_text();
    return p.exit_code();
}

std::string access_list(const std::string& path)
{
    std::string acl;
    return run("/usr/bin/getfacl", {"-cn", path}, 0, {}, &acl) == 0 ? acl : "getfacl failed";
}

std::string attribute(const std::string& path)
{
    char value[64] = {};
    const ssize_t n = getxattr(path.c_str(), "user.gardenlume", value, sizeof value);
    return n < 0 ? "none" : std::string(value, size_t(n));
}

std::string bin(const char* name) { return std::string(GARDENLUME_BIN_DIR) + "/" + name; }

}  // namespace

// A file whose access list keeps its own group out (group::---, the mask
// rw- for a named user) keeps that list and its extended attributes when
// any of our writers replaces it, run as root over a user's file or as the
// user: the group bits of its mode are the mask, never the group's rights.
TEST(Replaced_file, keeps_its_access_list_and_attributes_and_lets_no_one_more_in)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to run the programs as another user";
    const uid_t user = 65534;
    const std::string bytes = "new";
    const struct {
        const char* name;
        bool in_process;
        std::function<std::string(const Temp_folder&)> make;  // the file the writer replaces
        std::function<int(const Temp_folder&, uid_t)> write;
    } table[] = {
        {"Atomic_file", true, [](const Temp_folder& d) {
             std::ofstream(d / "file") << "old";
             return d / "file";
         },
         [&](const Temp_folder& d, uid_t) {
             const std::string temp = d / "file.tmp-XXXXXX";
             return Atomic_file::replace(d / "file", temp, bytes.data(), bytes.size(), 0644).ok() ? 0 : 1;
         }},
        {"Confined_writer", true, [](const Temp_folder& d) {
             std::ofstream(d / "file") << "old";
             return d / "file";
         },
         [&](const Temp_folder& d, uid_t) {
             return Confined_writer::write(d.path, "file", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())
                            .ok() ? 0 : 1;
         }},
        {"pak add", false,
         [](const Temp_folder& d) {
             Test_packs::write_pack(d / "p.pak", {{"a", {1, 2}}});
             return d / "p.pak";
         },
         [](const Temp_folder& d, uid_t as) { return run(bin("pak"), {"add", d / "p.pak", "b", d / "p.pak"}, as); }},
        {"pak extract", false,
         [](const Temp_folder& d) {
             Test_packs::write_pack(d / "p.pak", {{"file", {1, 2}}});
             std::ofstream(d / "file") << "old";
             return d / "file";
         },
         [](const Temp_folder& d, uid_t as) { return run(bin("pak"), {"extract", d / "p.pak", d.path}, as); }},
        {"config.exe", false,
         [](const Temp_folder& d) {
             std::ofstream(d / "reg") << "Windows Registry Editor Version 5.00\r\n\r\n"
                                         "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\r\n"
                                         "\"Path\"=\"" + d.path + "\"\r\n";
             std::ofstream(d / "cfg", std::ios::binary) << std::string("\1\0\0\0", 4) << std::string(17, '\0');
             return d / "cfg";
         },
         [](const Temp_folder& d, uid_t as) {
             return run(bin("config.exe"), {"--mode", "3"}, as, {{"GARDENLUME_REGISTRY", d / "reg"}});
         }},
        {"gardenlume-xscreensaver", false,
         [](const Temp_folder& d) {
             std::ofstream(d / ".xscreensaver") << "programs:\t\\\n\t\tmaze --root \\n\\\n\n";
             return d / ".xscreensaver";
         },
         [](const Temp_folder& d, uid_t as) {
             return run(bin("gardenlume-xscreensaver"), {}, as, {{"HOME", d.path}});
         }},
    };
    for (const auto& row : table) {
        for (const uid_t as : {uid_t(0), user}) {
            if (row.in_process && as != 0) continue;
            SCOPED_TRACE(std::string(row.name) + (as ? " as the user" : " as root over the user's file"));
            Temp_folder dir;
            const std::string file = row.make(dir);
            for (const auto& e : std::filesystem::directory_iterator(dir.path))
                ASSERT_EQ(chown(e.path().c_str(), user, user), 0);
            ASSERT_EQ(chown(dir.path.c_str(), user, user), 0);
            ASSERT_EQ(chmod(file.c_str(), 0600), 0);
            ASSERT_EQ(run("/usr/bin/setfacl", {"-m", "u:1:rw-,g::---,m::rw-", file}), 0);
            ASSERT_EQ(setxattr(file.c_str(), "user.gardenlume", "kept", 4, 0), 0);
            const std::string acl = access_list(file);
            ASSERT_NE(acl.find("group::---"), std::string::npos) << acl;
            struct stat before, after;
            ASSERT_EQ(stat(file.c_str(), &before), 0);

            ASSERT_EQ(row.write(dir, as), 0);
            ASSERT_EQ(stat(file.c_str(), &after), 0);
            EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not written over
            EXPECT_EQ(access_list(file), acl);
            EXPECT_EQ(attribute(file), "kept");
            EXPECT_EQ(after.st_uid, user);
        }
    }
}
