// Which events end the saver, when the quit flag is looked at, and the
// termination signal.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <csignal>

#include "resources/Cfg_record.h"
#include "app/Host_options.h"
#include "app/Main_loop.h"
#include "platform/Platform.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"

namespace {

SDL_Event key(SDLKey sym)
{
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event motion()
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = 10;
    e.motion.y = 10;
    return e;
}

// `ticks` after the first frame, drawn at `first_frame`.
bool ends(const SDL_Event& e, uint8_t mouse_exit, uint32_t ticks, uint32_t first_frame = 0)
{
    Cfg_record cfg;
    cfg.mouse_exit = mouse_exit;
    Main_loop loop(Loop_policy::full_screen(cfg));
    loop.start_mouse_grace(first_frame);
    Test_clock::set(first_frame + ticks);
    loop.handle_event(e);
    Test_clock::use_real();
    return loop.quit_requested();
}

}  // namespace

TEST(Main_loop, escape_ends_the_saver)
{
    EXPECT_TRUE(ends(key(SDLK_ESCAPE), 0, 10));
}

TEST(Main_loop, other_keys_change_nothing)
{
    for (SDLKey k : {SDLK_a, SDLK_SPACE, SDLK_RETURN, SDLK_q, SDLK_F4, SDLK_LALT})
        EXPECT_FALSE(ends(key(k), 1, 10000)) << k;
}

TEST(Main_loop, mouse_movement_in_the_first_3000_ms_never_ends_it)
{
    EXPECT_FALSE(ends(motion(), 1, 0));
    EXPECT_FALSE(ends(motion(), 1, 2999));
    EXPECT_FALSE(ends(motion(), 1, 3000));  // exactly 3000 does not count
}

TEST(Main_loop, the_grace_runs_from_the_first_frame_across_the_tick_counters_wrap)
{
    const uint32_t late_start = 0xFFFFFFFFu - 1000;  // 49.7 days of ticks: the counter wraps in the grace
    EXPECT_FALSE(ends(motion(), 1, 2999, late_start));
    EXPECT_FALSE(ends(motion(), 1, 3000, late_start));
    EXPECT_TRUE(ends(motion(), 1, 3001, late_start));
    EXPECT_FALSE(ends(motion(), 1, 2500, 60000));  // a slow start: 62.5 s since SDL began
    // Before the first frame nothing counts, however long the start takes.
    Cfg_record cfg;
    cfg.mouse_exit = 1;
    Main_loop loop(Loop_policy::full_screen(cfg));
    Test_clock::set(60000);
    loop.handle_event(motion());
    Test_clock::use_real();
    EXPECT_FALSE(loop.quit_requested());
}

TEST(Main_loop, late_mouse_movement_ends_it_only_with_mouse_exit_1)
{
    EXPECT_TRUE(ends(motion(), 1, 3001));
    EXPECT_FALSE(ends(motion(), 0, 3001));
    EXPECT_FALSE(ends(motion(), 2, 60000));
    EXPECT_FALSE(ends(motion(), 255, 60000));
}

TEST(Main_loop, window_close_request_and_buttons_are_ignored)
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_FALSE(ends(quit, 1, 10000));
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    EXPECT_FALSE(ends(button, 1, 10000));
    SDL_Event focus{};
    focus.type = SDL_ACTIVEEVENT;
    EXPECT_FALSE(ends(focus, 1, 10000));
}

TEST(Main_loop, pass_after_escape_drains_the_queue_and_still_draws_a_frame)
{
    REQUIRE_GL();
    SDL_Event drained;
    while (SDL_PollEvent(&drained)) {
    }
    glClearColor(0, 0, 0, 0);
    Cfg_record cfg;
    Main_loop loop(Loop_policy::full_screen(cfg));
    SDL_Event esc = key(SDLK_ESCAPE), other = key(SDLK_a);
    ASSERT_EQ(SDL_PushEvent(&esc), 0);
    ASSERT_EQ(SDL_PushEvent(&other), 0);
    loop.pass();
    EXPECT_TRUE(loop.quit_requested());
    EXPECT_EQ(SDL_PollEvent(&drained), 0);  // nothing left behind
    // The frame sets opaque black for the next clear: it was drawn.
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 1.0f);
    Gl_context::reset_state();
}

TEST(Main_loop, termination_signal_ends_the_loop_without_another_frame)
{
    REQUIRE_GL();
    Platform::catch_termination();
    std::raise(SIGTERM);  // would kill the test binary without the handler
    EXPECT_TRUE(Platform::termination_requested());
    Cfg_record cfg;
    Main_loop loop(Loop_policy::full_screen(cfg));
    glClearColor(0, 0, 0, 0);
    loop.run();  // returns instead of running forever
    EXPECT_TRUE(loop.quit_requested());
    // No frame was drawn (it would set opaque black for the next clear).
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.0f);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    Gl_context::reset_state();
}

TEST(Main_loop, each_place_it_draws_ends_on_its_own_events_at_its_own_rate)
{
    Cfg_record cfg;
    cfg.mouse_exit = 1;
    SDL_Event close{};
    close.type = SDL_QUIT;
    const struct {
        std::vector<std::string> args;
        bool escape, close, late_motion;
        int max_fps;
    } rows[] = {
        {{"/s"}, true, false, true, 0},  // unpaced unless asked
        {{"/s", "--max-fps", "20"}, true, false, true, 20},
        {{"--window"}, true, true, false, 30},
        {{"--window", "--max-fps", "0"}, true, true, false, 0},
        {{"--root"}, false, false, false, 30},
        {{"--window-id", "0x400001", "--max-fps", "5"}, false, false, false, 5},
    };
    for (const auto& row : rows) {
        const Host_options options = Host_options::read(row.args, nullptr);
        const Loop_policy policy = Loop_policy::for_target(options, cfg, nullptr);
        EXPECT_EQ(policy.max_fps, row.max_fps) << row.args[0];
        const std::pair<SDL_Event, bool> events[] = {
            {key(SDLK_ESCAPE), row.escape}, {close, row.close}, {motion(), row.late_motion}, {key(SDLK_a), false}};
        for (const auto& [event, ends] : events) {
            Main_loop loop(policy);
            loop.start_mouse_grace(0);
            Test_clock::set(10000);
            loop.handle_event(event);
            Test_clock::use_real();
            EXPECT_EQ(loop.quit_requested(), ends) << row.args[0] << ", event type " << int(event.type);
        }
    }
}
