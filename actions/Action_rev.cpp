#include "actions/Action_rev.h"

#include <cmath>
#include <cstdint>

#include "scene/Transform.h"

namespace {

int32_t clamp_to_int32(int64_t v)
{
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

void Action_rev::set(int period_ms, int slots, int slot_index)
{
    period = period_ms;
    if (slots <= 0) {
        window_start = window_end = 0;  // nothing lies strictly between
        return;
    }
    // Worked out in 64 bits: a far-off slot index must not overflow.
    int64_t slot_length = period_ms / slots;
    window_start = clamp_to_int32((int64_t(slot_index) - 1) * slot_length);
    window_end = clamp_to_int32(int64_t(slot_index) * slot_length);
}

void Action_rev::step()
{
    bool in_window = false;
    if (period > 0) {
        double t = elapsed;
        // After about 24.8 days the time no longer fits 32 bits; reducing it
        // by the period first gives the same remainder.
        if (!(t >= 0 && t < 2147483648.0)) t = std::fmod(t, period);
        int32_t r = static_cast<int32_t>(t) % period;
        in_window = window_start < r && r < window_end;
    }
    if (in_window)
        target->set_position(0, 0, 0);
    else
        target->set_position(9000, 0, 0);
}
