// A steady turn about one axis: start angle + rate * t / 1000 degrees, added
// to the target's rotation.
#pragma once
#include "actions/Action.h"

class Action_rot : public Action {
public:
    // (target,) group id, running, duration, as every action takes them.
    using Action::Action;

    // axis 0 = X, 1 = Y, 2 = Z; any other axis writes nothing.
    void set(int axis, double rate, double start_angle);
    void step() override;

    double rate = 1.0;         // degrees per second
    double start_angle = 1.0;  // degrees
    int32_t axis = 1;
};
