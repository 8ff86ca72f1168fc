// The garden draws the same scene, call for call, as when this record was
// taken: the real saver under a fixed clock and seed (the preloaded
// Gl_call_log) makes, frame by frame, the GL calls whose hashes
// Scene_calls.golden holds, full screen and in a window alike. A change to
// how the scene is built or the loop runs that alters a single argument
// shows here with the first frame that differs. A deliberate change to the
// art or the scene takes a new record: run this test once with
// GARDENLUME_RECORD_SCENE_CALLS=1, which writes the full-screen run's
// hashes over Scene_calls.golden.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"
#include "tests/tools/artgen/Art_files.h"

namespace {

std::string lines_of(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first line where two records part, for the message.
std::string first_difference(const std::string& a, const std::string& b)
{
    std::istringstream x(a), y(b);
    std::string lx, ly;
    while (true) {
        const bool more_x = bool(std::getline(x, lx)), more_y = bool(std::getline(y, ly));
        if (!more_x && !more_y) return "none";
        if (lx != ly || more_x != more_y) return "recorded '" + lx + "', now '" + ly + "'";
    }
}

}  // namespace

TEST(Scene_calls, the_garden_makes_the_recorded_gl_calls_full_screen_and_in_a_window)
{
    REQUIRE_X();
    Install_folder install;
    ASSERT_TRUE(install.ok());
    for (const std::string& pack : art::pack_names())
        ASSERT_TRUE(install.write_file(pack, art::slurp(art::bin_dir() + "/" + pack))) << pack;
    ASSERT_TRUE(install.write_cfg(0, 5));
    const std::string golden = std::string(GARDENLUME_SOURCE_DIR) + "/tests/app/Scene_calls.golden";
    const char* record = std::getenv("GARDENLUME_RECORD_SCENE_CALLS");
    std::string recorded = lines_of(golden);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/s"}, std::vector<std::string>{"--window", "--max-fps", "0"}}) {
        const std::string log = install.path() + "calls.txt";
        Saver_process::Environment env = install.environment();
        env.push_back({"LD_PRELOAD", GARDENLUME_GL_CALL_LOG});
        env.push_back({"GARDENLUME_GL_LOG", log});
        Saver_process saver;
        ASSERT_TRUE(saver.start(Saver_process::saver_path(), args, env));
        ASSERT_TRUE(saver.wait(120000)) << args[0];
        EXPECT_EQ(saver.exit_code(), 0) << args[0] << ": " << saver.stderr_text();
        const std::string now = lines_of(log);
        if (record && std::string(record) == "1" && args[0] == "/s") {
            std::ofstream(golden) << now;
            recorded = now;
        }
        EXPECT_TRUE(now == recorded) << args[0] << ": first difference: " << first_difference(recorded, now);
    }
}
