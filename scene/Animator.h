// A Node's animation clock: each draw measures the milliseconds since the
// previous one, steps every bound action (not owned) by that much, and
// applies the offset they wrote on top of the Node's placement.
#pragma once
#include <cstdint>
#include <vector>

#include "scene/Transform.h"

class Action;

class Animator {
public:
    Animator();  // reads the tick counter: the first dt counts from here
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    // Appends the action (twice bound means stepped twice) and points it at
    // the offset; a null action is ignored.
    void bind(Action* a);
    // Called by Node::draw between the placement and the meshes.
    void advance();
    // The offset of the latest advance once more, for another view of the
    // same frame (another monitor): each action writes its value again
    // (a light is switched and placed again), but no clock moves and no
    // finished action is dropped, so both views show the same moment.
    void repeat();

    void start_group(int id);
    void pause_group(int id);
    // Marks the group finished: the next advance drops it without a step.
    void stop_group(int id);

    const std::vector<Action*>& bound() const { return actions; }

    uint32_t now_ticks;
    uint32_t prev_ticks = 0;
    double time_scale = 1.0;
    Transform offset;

private:
    std::vector<Action*> actions;
};
