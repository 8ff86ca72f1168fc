#include "scene/Animator.h"

#include <SDL.h>

#include "actions/Action.h"

Animator::Animator() : now_ticks(SDL_GetTicks()) {}

void Animator::bind(Action* a)
{
    if (!a) return;  // a null listed in an event would crash the next frame
    actions.push_back(a);
    a->target = &offset;
}

void Animator::advance()
{
    prev_ticks = now_ticks;
    now_ticks = SDL_GetTicks();
    offset.reset();

    // Unsigned subtraction: a wrap of the tick counter still gives the true
    // difference.
    uint32_t ticks = now_ticks - prev_ticks;
    double scaled = time_scale * ticks;
    unsigned int dt = 0;
    if (scaled >= 4294967295.0)
        dt = 4294967295u;  // a scale beyond the counter's range saturates
    else if (scaled > 0)
        dt = static_cast<unsigned int>(scaled);

    for (size_t i = 0; i < actions.size();) {
        if (actions[i]->finished) {
            actions.erase(actions.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        actions[i]->update(dt);
        ++i;
    }
    offset.apply_placement();
}

void Animator::repeat()
{
    offset.reset();
    // Exactly the actions the latest advance stepped: it dropped the
    // finished ones before stepping the rest.
    for (Action* a : actions) a->step();
    offset.apply_placement();
}

void Animator::start_group(int id)
{
    for (Action* a : actions)
        if (a->group_id == id) a->running = true;
}

void Animator::pause_group(int id)
{
    for (Action* a : actions)
        if (a->group_id == id) a->running = false;
}

void Animator::stop_group(int id)
{
    for (Action* a : actions)
        if (a->group_id == id) a->finished = true;
}
