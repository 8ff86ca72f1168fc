#include "app/Garden_script.h"

//                                         position        rotation       scaled  scale
const Placement_values Garden_script::garden = {{0, 0, -10}, {-30, 0, 0}, false, {1, 1, 1}};
const Turn_values Garden_script::garden_turn = {2, 7.0, 0.0};
const Placement_values Garden_script::tree = {{0, 0, 0}, {0, 0, 0}, true, {2, 2, 2}};

const Butterfly_values Garden_script::lone_butterfly = {-5.0, 0.2, false};
const Placement_values Garden_script::lone_butterfly_placement = {{0, -7, 21.5}, {45, 0, 90}, false, {1, 1, 1}};

const Turn_values Garden_script::flock_turn = {2, 30.0, 0.0};
const Butterfly_values Garden_script::flock_butterfly = {-1.0, 0.2, true};
//   sways: axis, frequency, amplitude, phase
const Flock_butterfly_values Garden_script::flock[flock_size] = {
    {"butterfly_2", {{30, 0, 30}, {0, 0, 90}, false, {1, 1, 1}},
     {2, 1.0, 4.0, 0.0}, {2, 5.0, 3.0, 0.0}, {1, 2.0, 3.0, 0.0}, {2, 2.0, 6.0, 0.0},
     {2, 3, 0, 1}},  // this one binds its rise and swing first
    {"butterfly_3", {{-20, 20, 35}, {0, 0, -90}, false, {1, 1, 1}},
     {2, 3.0, 4.0, 0.0}, {2, 5.0, 4.0, 0.0}, {1, 2.0, 4.0, 0.0}, {2, 2.0, 8.0, 0.0},
     {0, 1, 2, 3}},
    {"butterfly_4", {{-15, -15, 35}, {0, 0, -40}, false, {1, 1, 1}},
     {2, 1.0, 5.0, 0.0}, {2, 5.0, 4.0, 0.0}, {1, 2.0, 4.0, 0.0}, {2, 2.0, 6.0, 0.0},
     {0, 1, 2, 3}},
};

const float Garden_script::light_position[4] = {0.0f, 20.0f, 70.0f, 1.0f};

// Far behind the garden, and the overlay near the eye, both turned to face it.
const Placement_values Garden_script::background = {{0, 0, -100}, {0, 180, 180}, true, {4, 3, 3}};
const Placement_values Garden_script::overlay = {{0, 0, 0}, {0, 180, 180}, true, {0.5, 0.5, 0.5}};
