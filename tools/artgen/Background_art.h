// The "fon" model of main.pak: one picture on a quad far behind the garden,
// a sky over layered hills and a meadow, and beside it the same less what
// the shipped garden covers (see Background_fit). The scene turns it 180 degrees
// about Y and Z (model +y ends up screen down) at scale (4, 3, 3), 200 units
// from the eye, so the quad is authored with its top edge at -y.
#pragma once
#include <vector>

#include "Art_pack.h"
#include "Outline.h"
#include "Sky_cut.h"

class Background_art {
public:
    // Half sizes of the quad in model units: wide enough for 21:9 windows
    // (about +-48.3 x), tall enough for the narrowest view (a portrait one
    // widened as a 1:2 monitor's, about +-55.2 y; a landscape one shows
    // +-27.6), with a margin. Hosts hand us windows of any shape.
    static constexpr double half_width = 50.0;
    static constexpr double half_height = 60.0;

    static void build(Art_pack& pack);

    // The outline, in the quad's model units, of what the garden's lawn and
    // soil always cover on the screen, whatever its turn and the window's
    // shape: a convex polygon, counter-clockwise. The quad leaves it out.
    static std::vector<Point> garden_cover();
    // A polygon of that many corners on that outline (garden_cover's), the
    // first straight above its middle, going round by the right.
    static std::vector<Point> hole(const std::vector<Point>& cover, int corners);
    // The sky: the quad less the hole that shades the fewest pixels.
    static std::vector<Sky_cut::Triangle> sky_triangles();
    // The whole quad, as two halves that meet at x = 0.
    static std::vector<Sky_cut::Triangle> whole_triangles();
};
