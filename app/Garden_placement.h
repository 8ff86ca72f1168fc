// Puts a script placement on a Node: its position, its rotation, and its
// scale when it has one (a Node without one draws unscaled).
#pragma once
#include "app/Garden_script.h"
#include "scene/Node.h"

inline void place(Node& node, const Placement_values& p)
{
    node.placement.set_position(p.position[0], p.position[1], p.position[2]);
    node.placement.set_rotation(p.rotation[0], p.rotation[1], p.rotation[2]);
    if (p.scaled) node.placement.set_scale(p.scale[0], p.scale[1], p.scale[2]);
}
