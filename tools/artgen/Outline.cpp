#include "Outline.h"

#include <algorithm>
#include <cmath>

Outline Outline::smooth(const std::vector<Point>& c, int steps)
{
    Outline o;
    size_t n = c.size();
    if (n < 3) {
        o.pts = c;
        return o;
    }
    for (size_t i = 0; i < n; ++i) {
        const Point& p0 = c[(i + n - 1) % n];
        const Point& p1 = c[i];
        const Point& p2 = c[(i + 1) % n];
        const Point& p3 = c[(i + 2) % n];
        for (int s = 0; s < steps; ++s) {
            double t = double(s) / steps, t2 = t * t, t3 = t2 * t;
            auto cr = [&](double a, double b, double cc, double d) {
                return 0.5 * (2 * b + (-a + cc) * t + (2 * a - 5 * b + 4 * cc - d) * t2 +
                              (-a + 3 * b - 3 * cc + d) * t3);
            };
            o.pts.push_back(Point{cr(p0.x, p1.x, p2.x, p3.x), cr(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    return o;
}

bool Outline::contains(double x, double y) const
{
    bool inside = false;
    size_t n = pts.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point& a = pts[i];
        const Point& b = pts[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

double segment_distance(Point p, Point a, Point b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::min(1.0, std::max(0.0, t));
    double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

double Outline::distance(double x, double y) const
{
    double best = 1e30;
    size_t n = pts.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++)
        best = std::min(best, segment_distance(Point{x, y}, pts[j], pts[i]));
    return best;
}

void Outline::bounds(double& x0, double& y0, double& x1, double& y1) const
{
    x0 = y0 = 1e30;
    x1 = y1 = -1e30;
    for (const Point& p : pts) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
}
