// The garden scene, built once after the display is open: a turning garden
// with a tree and four butterflies, a light switched on for the garden, a
// background far behind and an overlay shown in the last third of a minute.
// Its numbers are the values of Garden_script.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "actions/Action_light.h"
#include "actions/Action_rev.h"
#include "actions/Action_rot.h"
#include "app/Flock_member.h"
#include "app/Scripted_node.h"
#include "butterfly/Butterfly.h"
#include "resources/Pak_prefetch.h"
#include "scene/Node.h"

// Every object is kept here, declared in the order the script creates it, so
// they are destroyed in exactly the reverse order. The roots are not owned;
// whoever made them deletes them before the Garden goes.
class Garden {
public:
    Garden(Node& scene_root, Node& overlay_root);
    // Every pack the scene may load, main.pak first, with the models it
    // loads from each; which butterfly packs it does load is drawn while it
    // is built.
    static std::vector<Pak_prefetch::Pack> packs();
    Garden(const Garden&) = delete;
    Garden& operator=(const Garden&) = delete;

    // The objects are made one by one in the script's order (models load,
    // random picks are drawn and clocks start as they are made), hence the
    // optionals: declared in creation order, filled by the constructor.
    std::vector<std::string> butterfly_packs;
    std::optional<Scripted_node<Action_rot>> garden;  // turning
    std::optional<Node> tree;
    std::optional<Butterfly> butterfly_1;
    std::optional<Scripted_node<Action_rot>> flock;  // turning faster
    std::optional<Flock_member> flock_members[Garden_script::flock_size];
    std::optional<Scripted_node<Action_light>> light_on;
    std::optional<Scripted_node<Action_light>> light_off;
    std::optional<Node> background;
    std::optional<Action_rev> overlay_window;

private:
    // The pack of the next butterfly: one of the five, drawn right before
    // each Butterfly is made (which draws one value of its own).
    const char* pick();
};
