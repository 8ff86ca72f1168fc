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

    // The narrowest shape whose view is widened: a narrower one keeps that
    // one's field of view. The background reaches that far up and down.
    static constexpr float narrowest_widened = 0.5f;

    // One view per group of monitors that share pixels with `window` (both
    // in desktop pixels, y downwards), in the order their first monitors are
    // listed. Monitors that overlap (mirrors, of one size or not) show the
    // same pixels, so they form one group with one view over the box round
    // them: every pixel belongs to one garden. Groups whose boxes overlap
    // are joined the same way.
    static std::vector<View> of(const std::vector<Area>& monitors, const Area& window);
    // The garden's 45 degrees; on a monitor taller than it is wide, wider,
    // so that the view is as wide as a square monitor's and the garden keeps
    // its sides (up to narrowest_widened).
    static double fov_y(float aspect);
};
