// A periodic window: the period is cut into equal slots and the Node stands
// in place only strictly inside one of them; the rest of the time its
// position is set (not added) 9000 units along X, out of the view.
#pragma once
#include "actions/Action.h"

class Action_rev : public Action {
public:
    // (target,) group id, running, duration, as every action takes them.
    using Action::Action;

    // The window is slot number slot_index, counted from 1. With slots of 0
    // or less there is no window: the Node stays out of view.
    void set(int period, int slots, int slot_index);
    void step() override;

    int32_t period = 0;  // milliseconds; 0 or less keeps the Node out of view
    int32_t window_start = 0;
    int32_t window_end = 0;
};
