// A swing about one axis: amplitude * sin(phase + omega * (time offset + t) /
// 1000) degrees, added to the target's rotation. The time offset puts
// several swings out of step with each other.
#pragma once
#include "actions/Action.h"

class Action_rot_sin : public Action {
public:
    // (target,) group id, running, duration, as every action takes them.
    using Action::Action;

    // Amplitude comes before phase here, unlike the fields.
    void set(int axis, double frequency, double amplitude, double phase, int time_offset);
    void step() override;

    double frequency = 1.0;  // radians per second
    double phase = 1.0;      // radians
    double amplitude = 0.0;  // degrees; only set() gives it a meaning
    int32_t axis = 1;
    int32_t time_offset = 0;  // milliseconds
};
