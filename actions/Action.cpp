#include "actions/Action.h"

Action::Action(int group_id, bool running, double duration)
    : Action(nullptr, group_id, running, duration)
{
}

Action::Action(Transform* target, int group_id, bool running, double duration)
    : target(target), group_id(group_id), running(running), endless(duration == 0.0)
{
    if (!endless) this->duration = duration;
}

void Action::update(unsigned int dt)
{
    if (running) {
        // The frame that uses up the duration keeps its elapsed time and
        // still steps once more with it.
        if (!endless && duration <= elapsed)
            finished = true;
        else
            elapsed += static_cast<double>(dt);
    }
    step();
}
