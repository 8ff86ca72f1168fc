// Which events end the saver, when the quit flag is looked at, and the
// termination signal.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <csignal>

#include "resources/Cfg_record.h"
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

bool ends(const SDL_Event& e, uint8_t mouse_exit, uint32_t ticks)
{
    Cfg_record cfg;
    cfg.mouse_exit = mouse_exit;
    Test_clock::set(ticks);
    Main_loop loop(cfg);
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
    Main_loop loop(cfg);
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

TEST(Main_loop, termination_signal_ends_the_loop_after_the_current_pass)
{
    REQUIRE_GL();
    Platform::catch_termination();
    std::raise(SIGTERM);  // would kill the test binary without the handler
    EXPECT_TRUE(Platform::termination_requested());
    Cfg_record cfg;
    Main_loop loop(cfg);
    loop.run();  // returns instead of running forever
    EXPECT_TRUE(loop.quit_requested());
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    Gl_context::reset_state();
}
