// The process-wide pack cache: one read per pack name, reference counts,
// the directory rule.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "resources/Pak.h"
#include "resources/Pak_cache.h"
#include "tests/support/Test_packs.h"
#include "tests/support/Test_files.h"

namespace fs = std::filesystem;

namespace {
class Pak_cache_test : public testing::Test {
protected:
    void SetUp() override
    {
        dir = Test_files::make_folder("gardenlume_cache_");
        ASSERT_TRUE(Test_packs::write_pack(dir + "one.pak", {{"tree", {1, 2, 3}}}));
    }
    void TearDown() override { Test_files::remove_all(dir); }
    std::string dir;
};
}  // namespace

TEST_F(Pak_cache_test, same_name_twice_is_one_pak_with_two_references)
{
    Pak_cache cache;
    cache.set_directory(dir);
    Pak* a = cache.open("one.pak");
    Pak* b = cache.open("one.pak");
    EXPECT_EQ(a, b);
    EXPECT_EQ(cache.reference_count("one.pak"), 2);
    EXPECT_EQ(cache.open_count(), 1u);
}

TEST_F(Pak_cache_test, file_is_read_once_however_often_it_is_asked_for)
{
    Pak_cache cache;
    cache.set_directory(dir);
    EXPECT_EQ(cache.model_bytes("one.pak", "tree").size, 3);
    // Changing the file afterwards does not reach the open pack.
    ASSERT_TRUE(Test_packs::write_pack(dir + "one.pak", {{"tree", {1}}}));
    EXPECT_EQ(cache.model_bytes("one.pak", "tree").size, 3);
}

TEST_F(Pak_cache_test, names_differing_in_case_are_different_keys)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "One.pak", {{"tree", {1}}}));
    Pak_cache cache;
    cache.set_directory(dir);
    EXPECT_NE(cache.open("one.pak"), cache.open("One.pak"));
    EXPECT_EQ(cache.open_count(), 2u);
}

TEST_F(Pak_cache_test, directory_starting_with_zero_or_empty_uses_the_name_as_path)
{
    for (const char* d : {"0", "0anything", ""}) {
        Pak_cache cache;
        cache.set_directory(d);
        EXPECT_EQ(cache.model_bytes(dir + "one.pak", "tree").size, 3) << d;
    }
    Pak_cache fresh;
    EXPECT_EQ(fresh.get_directory(), "0");
}

TEST_F(Pak_cache_test, directory_without_separator_runs_into_the_name)
{
    std::string folder = dir.substr(0, dir.size() - 1);  // no trailing "/"
    ASSERT_TRUE(Test_packs::write_pack(folder + "glued.pak", {{"x", {9}}}));
    Pak_cache cache;
    cache.set_directory(folder);
    EXPECT_EQ(cache.model_bytes("glued.pak", "x").size, 1);
    fs::remove(folder + "glued.pak");
}

TEST_F(Pak_cache_test, release_to_zero_closes_and_reopening_reads_the_file_again)
{
    Pak_cache cache;
    cache.set_directory(dir);
    cache.open("one.pak");
    cache.open("one.pak");
    cache.release("one.pak");
    EXPECT_EQ(cache.reference_count("one.pak"), 1);
    cache.release("one.pak");
    EXPECT_EQ(cache.open_count(), 0u);
    ASSERT_TRUE(Test_packs::write_pack(dir + "one.pak", {{"tree", {7}}}));
    EXPECT_EQ(cache.model_bytes("one.pak", "tree").size, 1);
}

TEST_F(Pak_cache_test, releasing_one_pack_keeps_the_others_in_order)
{
    ASSERT_TRUE(Test_packs::write_pack(dir + "two.pak", {{"b", {1}}}));
    ASSERT_TRUE(Test_packs::write_pack(dir + "three.pak", {{"c", {1}}}));
    Pak_cache cache;
    cache.set_directory(dir);
    cache.open("one.pak");
    Pak* two = cache.open("two.pak");
    Pak* three = cache.open("three.pak");
    cache.release("one.pak");
    cache.release("not-open.pak");  // nothing happens
    EXPECT_EQ(cache.open_count(), 2u);
    EXPECT_EQ(cache.open("two.pak"), two);
    EXPECT_EQ(cache.open("three.pak"), three);
}

TEST_F(Pak_cache_test, missing_entry_is_empty_and_still_counts_a_reference)
{
    Pak_cache cache;
    cache.set_directory(dir);
    EXPECT_TRUE(cache.model_bytes("one.pak", "nothing").empty());
    EXPECT_EQ(cache.reference_count("one.pak"), 1);
    EXPECT_TRUE(cache.model_bytes("one.pak", "nothing").empty());
    EXPECT_EQ(cache.reference_count("one.pak"), 2);
}

namespace {
std::string missing_name;
void note_missing(const std::string& name) { missing_name = name; }
}  // namespace

TEST_F(Pak_cache_test, missing_pack_file_is_reported_once_and_stays_an_empty_pack)
{
    Pak_cache cache;
    cache.set_directory(dir);
    // Without a handler nothing ends: the layers below report, the saver ends.
    Pak* absent = cache.open("absent.pak");
    ASSERT_NE(absent, nullptr);
    EXPECT_EQ(absent->entry_count(), 0);

    missing_name.clear();
    cache.on_missing_pack(note_missing);
    EXPECT_TRUE(cache.model_bytes("gone.pak", "tree").empty());
    EXPECT_EQ(missing_name, "gone.pak");
    missing_name.clear();
    EXPECT_EQ(cache.texture("gone.pak", "x.png"), 0u);
    EXPECT_EQ(missing_name, "") << "a missing pack is tried once";
    cache.open("one.pak");
    EXPECT_EQ(missing_name, "");
}

TEST(Pak_cache_global, process_wide_cache_starts_with_no_directory)
{
    EXPECT_EQ(pak_cache.get_directory().substr(0, 1), "0");
}
