// When the next frame of a capped loop is due, on SDL's 32-bit millisecond
// counter. Deadlines are tick values compared by their wrapped difference,
// like every other time in the saver, so the pace holds across the
// counter's wrap after 49.7 days. The period's fraction of a millisecond is
// carried exactly, so 30 frames a second means 30 a second, not 33 or 34 ms.
#pragma once
#include <cstdint>

class Frame_pacer {
public:
    // `max_fps` 0 is unpaced: every frame is due at once.
    explicit Frame_pacer(int max_fps);

    // The first frame is due at `now`.
    void start(uint32_t now);
    // A frame was drawn; the next is due one period after the last deadline,
    // or, after a frame that ran late by over a period, one period from now
    // (a slow moment is not made up for by a rush of frames).
    void frame_done(uint32_t now);
    // Milliseconds from `now` until the next frame is due, 0 when it is due.
    uint32_t wait_ms(uint32_t now) const;
    bool paced() const { return fps > 0; }

private:
    uint32_t fps = 0;
    uint32_t next_due = 0;  // a tick of SDL_GetTicks
    uint32_t carry = 0;     // the deadline lies carry/fps ms past next_due
};
