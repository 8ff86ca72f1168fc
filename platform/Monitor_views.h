// Where each monitor's garden goes in one window spread over several
// monitors: a viewport in GL's terms (from the window's bottom-left corner)
// in the monitor's own shape, and the vertical field of view that keeps the
// whole garden on it.
//
//   for (const Monitor_views::View& v : Monitor_views::of(monitors, window))
//       glViewport(v.x, v.y, v.width, v.height); ... gluPerspective(v.fov_y, v.aspect, ...)
#pragma once
#include <vector>

#include "platform/Monitor_list.h"

class Monitor_views {
public:
    using Area = Monitor_list::Area;

    struct View {
        int x = 0;  // GL's: counted from the window's bottom-left corner
        int y = 0;
        int width = 0;
        int height = 0;
        float aspect = 1.0f;  // width / height, in single precision
        double fov_y = 45.0;  // degrees
    };

    // One view per monitor that shares pixels with `window` (both in desktop
    // pixels, y downwards), in the order listed. A monitor listed twice, or
    // lying wholly inside another (a smaller mirror), gets none: the larger
    // one's garden shows there.
    static std::vector<View> of(const std::vector<Area>& monitors, const Area& window);
    // The garden's 45 degrees; on a monitor taller than it is wide, wider,
    // so that the view is as wide as a square monitor's and the garden keeps
    // its sides.
    static double fov_y(float aspect);
};
