// A Node of the script with the one action bound to it (a turn, a light
// switch): the Node is made first and the action after it, and they go in
// the reverse order.
#pragma once
#include "app/Garden_script.h"
#include "scene/Node.h"

template <class Script_action>
struct Scripted_node {
    Scripted_node()
        : action(Garden_script::action_group, Garden_script::action_running, Garden_script::action_duration)
    {
    }
    Scripted_node(const Scripted_node&) = delete;
    Scripted_node& operator=(const Scripted_node&) = delete;

    // Sets the action and binds it to the Node at once.
    template <class... Values>
    void start(Values... values)
    {
        action.set(values...);
        node.events.bind_at_once({&action});
    }

    Node node;
    Script_action action;
};
