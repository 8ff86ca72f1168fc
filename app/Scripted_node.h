// A Node of the script with the one action bound to it (a turn, a light
// switch): the Node is made first and the action after it, and they go in
// the reverse order.
#pragma once
#include "scene/Node.h"

template <class Script_action>
struct Scripted_node {
    // Every script action: group 1, running, endless.
    Scripted_node() : action(1, true, 0.0) {}
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
