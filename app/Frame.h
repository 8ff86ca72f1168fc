// One frame of the saver: clear, camera 100 units back, the procedural
// textures of this tick, both roots, swap.
#pragma once

void draw_frame();
