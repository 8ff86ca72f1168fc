// One frame of the saver: clear, camera 100 units back, the procedural
// textures of this tick, both roots, swap. Over several monitors: one clear
// and one texture update, then each monitor's view with the same moment of
// the garden, then one swap.
#pragma once
#include <vector>

#include "platform/Monitor_views.h"

// `views` null or empty: the window's one view, as the display set it.
void draw_frame(const std::vector<Monitor_views::View>* views = nullptr);
