// The garden scene, built once after the display is open: a turning garden
// with a tree and four butterflies, a light switched on for the garden, a
// background far behind and an overlay shown in the last third of a minute.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "actions/Action_light.h"
#include "actions/Action_rev.h"
#include "actions/Action_rot.h"
#include "actions/Action_rot_sin.h"
#include "actions/Action_sin.h"
#include "butterfly/Butterfly.h"
#include "scene/Node.h"

// Every object is kept here, declared in the order the script creates it, so
// they are destroyed in exactly the reverse order. The roots are not owned;
// whoever made them deletes them before the Garden goes.
class Garden {
public:
    Garden(Node& scene_root, Node& overlay_root);
    // Every pack the scene may load, main.pak first; which butterfly packs
    // it does load is drawn while it is built.
    static std::vector<std::string> packs();
    Garden(const Garden&) = delete;
    Garden& operator=(const Garden&) = delete;

    // The objects are made one by one in the script's order (models load,
    // random picks are drawn and clocks start as they are made), hence the
    // optionals: declared in creation order, filled by the constructor.
    std::vector<std::string> butterfly_packs;
    std::optional<Node> garden;
    std::optional<Action_rot> garden_turn;
    std::optional<Node> tree;
    std::optional<Butterfly> butterfly_1;
    std::optional<Node> flock;
    std::optional<Action_rot> flock_turn;
    std::optional<Butterfly> butterfly_2;
    std::optional<Action_sin> butterfly_2_sway_a;
    std::optional<Action_sin> butterfly_2_sway_b;
    std::optional<Action_sin> butterfly_2_rise;
    std::optional<Action_rot_sin> butterfly_2_swing;
    std::optional<Butterfly> butterfly_3;
    std::optional<Action_sin> butterfly_3_sway_a;
    std::optional<Action_sin> butterfly_3_sway_b;
    std::optional<Action_sin> butterfly_3_rise;
    std::optional<Action_rot_sin> butterfly_3_swing;
    std::optional<Butterfly> butterfly_4;
    std::optional<Action_sin> butterfly_4_sway_a;
    std::optional<Action_sin> butterfly_4_sway_b;
    std::optional<Action_sin> butterfly_4_rise;
    std::optional<Action_rot_sin> butterfly_4_swing;
    std::optional<Node> light_on;
    std::optional<Action_light> light_on_switch;
    std::optional<Node> light_off;
    std::optional<Action_light> light_off_switch;
    std::optional<Node> background;
    std::optional<Action_rev> overlay_window;

private:
    // The pack of the next butterfly: one of the five, drawn right before
    // each Butterfly is made (which draws one value of its own).
    const char* pick();
    // The script's parts, each making its objects in the order above.
    void make_garden();  // with its turn and the tree
    void make_butterfly_1();
    void make_flock();
    void make_butterfly_2();
    void make_butterfly_3();
    void make_butterfly_4();
    void make_lights();
    void make_background();
    void make_overlay(Node& overlay_root);
};
