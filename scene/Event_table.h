// A Node's events. Each event lists actions to bind to the Node's Animator,
// group commands (0 pause, 1 start, 2 stop) to run on it, and events of
// other tables to fire after it. Nothing pointed to is owned.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

class Action;
class Animator;

class Event_table {
public:
    Event_table() = default;
    Event_table(const Event_table&) = delete;
    Event_table& operator=(const Event_table&) = delete;

    // The Animator that fired events bind to; the Node points it at its own.
    void attach(Animator* a) { animator = a; }

    // Starts a new event; the three adders below extend the newest one and
    // do nothing while there is no event yet.
    void add_event();
    void add_action(Action* a);
    void add_command(int group_id, int code);
    void add_link(Event_table* other, int index);

    // Binds the event's actions, runs its commands, then fires its links in
    // order. An index that names no event does nothing, and neither does a
    // link that leads back to an event still firing (a cycle of links).
    void fire_event(int index);
    // A new event with these actions, fired at once: binds them in this order.
    void bind_at_once(std::initializer_list<Action*> list);

    int32_t event_count() const { return static_cast<int32_t>(actions.size()); }

    int32_t current = -1;

private:
    std::vector<std::vector<Action*>> actions;
    std::vector<std::vector<std::pair<int32_t, int32_t>>> commands;
    std::vector<std::vector<std::pair<Event_table*, int32_t>>> links;
    std::vector<bool> firing;  // per event: inside its own fire_event
    Animator* animator = nullptr;
};
