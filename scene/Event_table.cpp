#include "scene/Event_table.h"

#include "scene/Animator.h"

void Event_table::add_event()
{
    actions.emplace_back();
    commands.emplace_back();
    links.emplace_back();
    firing.push_back(false);
    current = event_count() - 1;
}

void Event_table::add_action(Action* a)
{
    if (current < 0) return;
    actions[current].push_back(a);
}

void Event_table::add_command(int group_id, int code)
{
    if (current < 0) return;
    commands[current].emplace_back(group_id, code);
}

void Event_table::add_link(Event_table* other, int index)
{
    if (current < 0) return;
    links[current].emplace_back(other, index);
}

void Event_table::fire_event(int index)
{
    if (index < 0 || index >= event_count()) return;
    // A cycle of links would otherwise recurse until the stack runs out.
    if (firing[index]) return;
    firing[index] = true;
    if (animator) {
        for (Action* a : actions[index]) animator->bind(a);
        for (const auto& command : commands[index]) {
            switch (command.second) {
            case 0: animator->pause_group(command.first); break;
            case 1: animator->start_group(command.first); break;
            case 2: animator->stop_group(command.first); break;
            default: break;  // unknown codes are ignored
            }
        }
    }
    for (const auto& link : links[index])
        if (link.first) link.first->fire_event(link.second);
    firing[index] = false;
}

void Event_table::bind_at_once(std::initializer_list<Action*> list)
{
    add_event();
    for (Action* a : list) add_action(a);
    fire_event(current);
}
