// Switches GL lighting and one light on or off, and places that light, at
// the point of the frame where its Node is drawn: everything drawn after it
// is lit (or not) until the next light action. Its clock runs but is unused.
#pragma once
#include "actions/Action.h"

class Action_light : public Action {
public:
    // (target,) group id, running, duration, as every action takes them.
    using Action::Action;

    // light is GL_LIGHT0 + n; w = 1 places a point light, w = 0 a direction.
    void set(bool on, int light, float x, float y, float z, float w);
    // Sends the position first (in the carrying Node's frame), then switches.
    void step() override;

    bool on = false;
    int32_t light = 0;
    float position[4] = {0, 0, 0, 0};
};
