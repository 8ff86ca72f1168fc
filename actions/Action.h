// The base of every animation: a millisecond clock the Animator advances each
// frame, a group id for group commands, and step(), which writes the effect
// for the current time into the target Transform or GL state. Owns nothing.
#pragma once
#include <cstdint>

class Transform;

class Action {
public:
    // A duration of exactly 0.0 makes the action endless.
    Action(int group_id, bool running, double duration);
    Action(Transform* target, int group_id, bool running, double duration);
    virtual ~Action() = default;
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;

    // Advances the clock by dt while running, unless the duration is used
    // up (then it only marks itself finished), and steps in every case.
    void update(unsigned int dt);
    // Writes the value for `elapsed`; a function of the current state only,
    // because the offset it writes is rebuilt from zero every frame.
    virtual void step() = 0;

    Transform* target = nullptr;
    double elapsed = 0;
    int32_t group_id;
    bool running;
    bool endless;
    bool finished = false;
    double duration = 0;
};
