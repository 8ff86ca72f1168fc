// One butterfly of the flock with the four actions that carry it round,
// made in the script's order (the butterfly, then sway_a, sway_b, rise,
// swing) and destroyed in the reverse.
#pragma once
#include "actions/Action_rot_sin.h"
#include "actions/Action_sin.h"
#include "app/Garden_script.h"
#include "butterfly/Butterfly.h"

class Flock_member {
public:
    // `pack` is the butterfly pack drawn for it; binds the actions in the
    // values' order and places it under `flock`.
    Flock_member(const char* pack, const Flock_butterfly_values& values, Node& flock);
    Flock_member(const Flock_member&) = delete;
    Flock_member& operator=(const Flock_member&) = delete;

    Butterfly butterfly;
    Action_sin sway_a;
    Action_sin sway_b;
    Action_sin rise;
    Action_rot_sin swing;
};
