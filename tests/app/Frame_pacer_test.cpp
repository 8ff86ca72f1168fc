// The frame cap keeps its pace across the tick counter's seams (2^31, where
// a signed difference turns, and 2^32, where the counter wraps), over a late
// frame, and unpaced.
#include <gtest/gtest.h>

#include <SDL.h>
#include <vector>

#include "app/Frame_pacer.h"
#include "tests/support/Test_clock.h"

namespace {

// Runs `frames` frames from `start` on the tick seam, each costing
// `cost_ms` (frame `slow` costs `slow_ms`), sleeping as the pacer says;
// gives the tick at which each frame began.
std::vector<uint32_t> frame_starts(int max_fps, uint32_t start, int frames, uint32_t cost_ms,
                                   int slow = -1, uint32_t slow_ms = 0)
{
    Test_clock::set(start);
    Frame_pacer pacer(max_fps);
    pacer.start(SDL_GetTicks());
    std::vector<uint32_t> starts;
    for (int i = 0; i < frames; ++i) {
        starts.push_back(SDL_GetTicks());
        Test_clock::advance(i == slow ? slow_ms : cost_ms);
        const uint32_t now = SDL_GetTicks();
        pacer.frame_done(now);
        Test_clock::advance(pacer.wait_ms(now));
    }
    Test_clock::use_real();
    return starts;
}

}  // namespace

TEST(Frame_pacer, thirty_a_second_hold_across_the_counter_seams)
{
    const uint32_t seams[] = {0u, 0x7fffff00u, 0xffffff00u, 0xfffffff0u};
    for (uint32_t start : seams) {
        const std::vector<uint32_t> s = frame_starts(30, start, 301, 5);
        for (size_t i = 1; i < s.size(); ++i) {
            const uint32_t gap = s[i] - s[i - 1];
            EXPECT_TRUE(gap == 33 || gap == 34) << "start " << start << " frame " << i << " gap " << gap;
        }
        EXPECT_EQ(s.back() - s.front(), 10000u) << "start " << start;  // 300 periods, no drift
    }
}

// The lowest cap is a cap too: one frame a second, not unpaced.
TEST(Frame_pacer, one_a_second_is_paced)
{
    const std::vector<uint32_t> s = frame_starts(1, 0xfffffff0u, 4, 5);
    for (size_t i = 1; i < s.size(); ++i) EXPECT_EQ(s[i] - s[i - 1], 1000u) << "frame " << i;
}

TEST(Frame_pacer, a_late_frame_is_not_made_up_by_a_rush)
{
    for (uint32_t start : {0u, 0xffffff00u}) {
        const std::vector<uint32_t> s = frame_starts(30, start, 20, 5, 10, 500);
        EXPECT_EQ(s[11] - s[10], 500u);
        for (size_t i = 12; i < s.size(); ++i) EXPECT_GE(s[i] - s[i - 1], 33u) << "start " << start << " frame " << i;
    }
}

TEST(Frame_pacer, unpaced_and_overrunning_frames_never_wait)
{
    const struct {
        int fps;
        uint32_t cost;
    } cases[] = {{0, 1}, {0, 0}, {30, 40}, {1000, 3}};
    for (const auto& c : cases) {
        const std::vector<uint32_t> s = frame_starts(c.fps, 0xfffffff0u, 50, c.cost);
        for (size_t i = 1; i < s.size(); ++i)
            EXPECT_EQ(s[i] - s[i - 1], c.cost) << c.fps << " fps, " << c.cost << " ms a frame";
    }
}
