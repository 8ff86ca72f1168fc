// A butterfly species: its wing's outline and where fore- and hindwing
// meet, how its veins are drawn, the pattern and marks painted on the wing,
// and the body's colours. The five species of the packs are made by index.
#pragma once
#include <functional>
#include <vector>

#include "Image.h"
#include "Outline.h"

// What a pattern needs to know about one point of the wing.
struct Wing_spot {
    Point p;
    bool fore;         // forewing (in front of the line to the notch) or hindwing
    double edge;       // distance inside the outline, model units
    double vein;       // distance to the nearest vein
    double root;       // distance from the wing root
};

struct Butterfly_species {
    const char* name;
    std::vector<Point> outline;  // control points, x forward, y outward
    Point notch;                 // where fore- and hindwing meet at the margin
    double vein_width;
    Rgba vein_colour;
    std::function<Rgba(const Wing_spot&)> pattern;
    // Extra touches painted over the pattern (spots along the margin...).
    std::function<void(Image&, const Outline&)> marks;
    Rgba body, body_stripe, eye;

    // Species 0 to 4: monarch, morpho, swallowtail, cabbage white, red admiral.
    static Butterfly_species of(int index);
};
