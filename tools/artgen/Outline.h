// A closed outline in a painter's own coordinates (a wing, a leaf): made
// smooth from a few control points, asked whether a point lies inside and
// how far the point is from the edge. Painters turn that into hard-edged
// shapes, margins and borders.
#pragma once
#include <vector>

struct Point {
    double x = 0, y = 0;
};

class Outline {
public:
    Outline() = default;
    // A closed Catmull-Rom curve through the control points, steps points
    // per span.
    static Outline smooth(const std::vector<Point>& controls, int steps = 12);

    bool contains(double x, double y) const;
    double distance(double x, double y) const;  // to the nearest edge
    // Inside positive, outside negative.
    double signed_distance(double x, double y) const
    {
        double d = distance(x, y);
        return contains(x, y) ? d : -d;
    }
    void bounds(double& x0, double& y0, double& x1, double& y1) const;
    const std::vector<Point>& points() const { return pts; }

private:
    std::vector<Point> pts;
};

// Distance from p to the segment a-b.
double segment_distance(Point p, Point a, Point b);
