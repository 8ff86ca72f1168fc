#include "app/Frame_pacer.h"

Frame_pacer::Frame_pacer(int max_fps) : fps(max_fps > 0 ? uint32_t(max_fps) : 0) {}

void Frame_pacer::start(uint32_t now)
{
    next_due = now;
    carry = 0;
}

void Frame_pacer::frame_done(uint32_t now)
{
    if (!paced()) return;
    // One period is 1000/fps ms: whole milliseconds on, the rest carried.
    const uint32_t step = carry + 1000;
    next_due += step / fps;  // wraps with the counter
    carry = step % fps;
    const int32_t late = int32_t(now - next_due);
    if (late > int32_t(1000 / fps)) start(now);
}

uint32_t Frame_pacer::wait_ms(uint32_t now) const
{
    const int32_t left = int32_t(next_due - now);
    return left > 0 ? uint32_t(left) : 0;
}
