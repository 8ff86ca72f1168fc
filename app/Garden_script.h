// The garden's script as values: where each Node sits and how its actions
// move it, in the order the Garden builds the scene. Changing the scene is
// changing these numbers; the Garden only walks them.
#pragma once

// A Node's placement: translate, then rotate about X, Y, Z (degrees), and a
// scale when `scaled`.
struct Placement_values {
    double position[3];
    double rotation[3];
    bool scaled;
    double scale[3];
};

// One periodic action: about or along `axis` (0 X, 1 Y, 2 Z), `frequency`
// in radians a second, `amplitude` in scene units or degrees, `phase` in
// radians.
struct Sway_values {
    int axis;
    double frequency;
    double amplitude;
    double phase;
};

// A steady turn: about `axis`, `rate` degrees a second, from `start` degrees.
struct Turn_values {
    int axis;
    double rate;
    double start;
};

// A butterfly of the flock: its placement, two sways and a rise along axes
// (Action_sin), a swing about an axis (Action_rot_sin, no time offset), and
// the order its event binds them in (0 sway_a, 1 sway_b, 2 rise, 3 swing).
struct Flock_butterfly_values {
    const char* name;
    Placement_values placement;
    Sway_values sway_a;
    Sway_values sway_b;
    Sway_values rise;
    Sway_values swing;
    int bind_order[4];
};

// A butterfly's own flapping: 14 + flap_offset radians a second, its size,
// whether its body bobs.
struct Butterfly_values {
    double flap_offset;
    double size;
    bool bobbing;
};

struct Garden_script {
    // Every action of the script: group 1, running, endless (duration 0).
    static constexpr int action_group = 1;
    static constexpr bool action_running = true;
    static constexpr double action_duration = 0.0;
    static const Placement_values garden;
    static const Turn_values garden_turn;
    static const Placement_values tree;
    static const Butterfly_values lone_butterfly;
    static const Placement_values lone_butterfly_placement;
    static const Turn_values flock_turn;
    static const Butterfly_values flock_butterfly;
    static const int flock_size = 3;
    static const Flock_butterfly_values flock[flock_size];
    // GL_LIGHT1 switched on at this position (x, y, z, w) in the garden's frame.
    static const float light_position[4];
    static const Placement_values background;
    static const Placement_values overlay;
    // The overlay's window: in view in slot `slot` of `slots` every `period` ms.
    static const int overlay_period_ms = 60000;
    static const int overlay_slots = 3;
    static const int overlay_slot = 3;
};
