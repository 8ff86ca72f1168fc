// Both writers that put a new file in an old one's place (Atomic_file for a
// whole file, Confined_writer below a folder), on real files: the old file's
// owner, group and mode go to the new one, and a file with other names is
// refused and left as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "platform/Atomic_file.h"
#include "platform/Confined_writer.h"
#include "tests/support/Temp_folder.h"

namespace {

using Writer = std::function<Write_status(const Temp_folder&, const std::string&)>;

const std::string bytes = "new";

Write_status atomic(const Temp_folder& dir, const std::string& name)
{
    return Atomic_file::replace(dir / name, dir / (name + ".tmp-XXXXXX"), bytes.data(), bytes.size(), 0644);
}

Write_status confined(const Temp_folder& dir, const std::string& name)
{
    return Confined_writer::write(dir.path, name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void old_file(const std::string& path, unsigned mode)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs("old", f);
    std::fclose(f);
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
}

}  // namespace

TEST(Replaced_file, keeps_the_old_files_owner_group_and_mode_and_refuses_a_hard_link)
{
    const struct {
        const char* name;
        Writer write;
    } writers[] = {{"Atomic_file", atomic}, {"Confined_writer", confined}};
    const bool root = geteuid() == 0;
    for (const auto& w : writers) {
        SCOPED_TRACE(w.name);
        Temp_folder dir;
        // Mode: a user's private file stays private.
        old_file(dir / "private", 0600);
        ASSERT_TRUE(w.write(dir, "private").ok());
        struct stat st;
        ASSERT_EQ(stat((dir / "private").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        EXPECT_EQ(Test_files::text(dir / "private"), bytes);
        // Owner: root writing over another user's file leaves it theirs.
        if (root) {
            old_file(dir / "theirs", 0640);
            ASSERT_EQ(chown((dir / "theirs").c_str(), 65534, 65534), 0);
            ASSERT_TRUE(w.write(dir, "theirs").ok());
            ASSERT_EQ(stat((dir / "theirs").c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, 65534u);
            EXPECT_EQ(st.st_gid, 65534u);
            EXPECT_EQ(st.st_mode & 07777, 0640u);
        }
        // A hard link: refused, both names keep the old bytes.
        old_file(dir / "linked", 0644);
        ASSERT_EQ(link((dir / "linked").c_str(), (dir / "other").c_str()), 0);
        const Write_status linked = w.write(dir, "linked");
        EXPECT_EQ(linked.reason, Write_reason::cannot_replace);
        EXPECT_NE(linked.detail.find("hard links"), std::string::npos) << linked.detail;
        EXPECT_EQ(Test_files::text(dir / "linked"), "old");
    }
}
