// A sinusoidal movement along one axis: amplitude * sin(phase + omega * t /
// 1000) scene units, added to the target's position.
#pragma once
#include "actions/Action.h"

class Action_sin : public Action {
public:
    // (target,) group id, running, duration, as every action takes them.
    using Action::Action;

    // axis 0 = X, 1 = Y, 2 = Z; any other axis writes nothing.
    void set(int axis, double frequency, double amplitude, double phase);
    void step() override;

    double frequency = 1.0;  // radians per second
    double amplitude = 1.0;  // scene units
    double phase = 1.0;      // radians
    int32_t axis = 1;
};
