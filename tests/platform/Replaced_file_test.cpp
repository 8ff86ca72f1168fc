// Both writers that put a new file in an old one's place (Atomic_file,
// Confined_writer), on real files: the old file's owner, group and mode go
// to the new one; a file with other names is refused and left as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>

#include "platform/Atomic_file.h"
#include "platform/Confined_writer.h"
#include "tests/support/Temp_folder.h"

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
    // Root writing over another user's file leaves it theirs; anyone's
    // private file stays private.
    const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
    const gid_t group = geteuid() == 0 ? 65534 : getegid();
    for (const auto& w : writers) {
        SCOPED_TRACE(w.name);
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

TEST(Replaced_file, a_new_file_never_replaces_one_already_there)
{
    Temp_folder dir;
    std::ofstream(dir / "made") << "theirs";
    const std::string bytes = "ours";
    const Write_status made =
        Atomic_file::create_owned(dir / "made", dir / "made.tmp-XXXXXX", bytes.data(), bytes.size(), 0600);
    EXPECT_EQ(made.reason, Write_reason::cannot_replace);
    EXPECT_EQ(Test_files::text(dir / "made"), "theirs");
}
