#include "Sky_cut.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
double cross(Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Strictly crossing segments: each one's ends on opposite sides of the other.
bool crosses(Point a, Point b, Point c, Point d)
{
    const double eps = 1e-9;
    const double d1 = cross(a, b, c), d2 = cross(a, b, d), d3 = cross(c, d, a), d4 = cross(c, d, b);
    return ((d1 > eps && d2 < -eps) || (d1 < -eps && d2 > eps)) && ((d3 > eps && d4 < -eps) || (d3 < -eps && d4 > eps));
}

// Inside and not on an edge (within eps).
bool strictly_inside(const std::vector<Point>& poly, Point p)
{
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point a = poly[i], b = poly[j];
        if (segment_distance(p, a, b) < 1e-7) return false;
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// A segment between two corners of a simple polygon runs inside it: it
// crosses no edge, passes through no other corner, and its middle is inside.
bool is_diagonal(const std::vector<Point>& poly, size_t i, size_t j)
{
    const Point a = poly[i], b = poly[j];
    for (size_t k = 0; k < poly.size(); ++k) {
        const size_t l = (k + 1) % poly.size();
        if (k != i && k != j && segment_distance(poly[k], a, b) < 1e-7) return false;
        if (k == i || k == j || l == i || l == j) continue;
        if (crosses(a, b, poly[k], poly[l])) return false;
    }
    return strictly_inside(poly, Point{(a.x + b.x) / 2, (a.y + b.y) / 2});
}

// Minimum weight triangulation of a simple polygon, corners in order.
void triangulate(const std::vector<Point>& poly, const Sky_cut::Screen& screen, std::vector<Sky_cut::Triangle>& out)
{
    const size_t n = poly.size();
    const double none = std::numeric_limits<double>::infinity();
    // weight[i][j]: 0 for the polygon's own edges, the screen length for a
    // diagonal, none where the segment leaves the polygon.
    std::vector<std::vector<double>> weight(n, std::vector<double>(n, none));
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            const bool edge = j == i + 1 || (i == 0 && j == n - 1);
            if (edge) weight[i][j] = 0;
            else if (is_diagonal(poly, i, j)) weight[i][j] = Sky_cut::screen_length(poly[i], poly[j], screen) + 1e-6;
        }
    std::vector<std::vector<double>> cost(n, std::vector<double>(n, none));
    std::vector<std::vector<size_t>> apex(n, std::vector<size_t>(n, 0));
    for (size_t i = 0; i + 1 < n; ++i) cost[i][i + 1] = 0;
    for (size_t len = 2; len < n; ++len)
        for (size_t i = 0; i + len < n; ++i) {
            const size_t j = i + len;
            if (weight[i][j] == none) continue;
            for (size_t k = i + 1; k < j; ++k) {
                if (weight[i][k] == none || weight[k][j] == none) continue;
                if (std::fabs(cross(poly[i], poly[k], poly[j])) < 1e-9) continue;  // no slivers
                const double c = cost[i][k] + cost[k][j] + (k > i + 1 ? weight[i][k] : 0) + (j > k + 1 ? weight[k][j] : 0);
                if (c < cost[i][j]) {
                    cost[i][j] = c;
                    apex[i][j] = k;
                }
            }
        }
    if (cost[0][n - 1] == none) return;
    std::vector<std::pair<size_t, size_t>> todo{{0, n - 1}};
    while (!todo.empty()) {
        const auto [i, j] = todo.back();
        todo.pop_back();
        if (j < i + 2) continue;
        const size_t k = apex[i][j];
        out.push_back(Sky_cut::Triangle{poly[i], poly[k], poly[j]});
        todo.push_back({i, k});
        todo.push_back({k, j});
    }
}
}  // namespace

double Sky_cut::screen_length(Point a, Point b, const Screen& screen)
{
    // Liang-Barsky: the part of a-b inside the screen's rectangle.
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x + screen.half_w, screen.half_w - a.x, a.y + screen.half_h, screen.half_h - a.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return 0;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
    }
    if (t0 >= t1) return 0;
    return (t1 - t0) * (std::fabs(dx) * screen.px_per_x + std::fabs(dy) * screen.px_per_y);
}

std::vector<Sky_cut::Triangle> Sky_cut::around(const std::vector<Point>& hole, double w, double h, const Screen& screen)
{
    std::vector<Triangle> out;
    const size_t m = hole.size();
    if (m < 4 || m % 2) return out;
    const Point top = hole[0], bottom = hole[m / 2];
    // Points on the rectangle's edges the DP may end inner edges at: its
    // corners, above the top, below the bottom, and level with the hole's
    // widest points.
    const Point up{top.x, -h}, down{bottom.x, h};
    const Point right_mid{w, hole[m / 4].y}, left_mid{-w, hole[3 * m / 4].y};
    std::vector<Point> right{up};
    for (size_t i = 0; i <= m / 2; ++i) right.push_back(hole[i]);
    right.insert(right.end(), {down, Point{w, h}, right_mid, Point{w, -h}});
    std::vector<Point> left{down};
    for (size_t i = m / 2; i <= m; ++i) left.push_back(hole[i % m]);
    left.insert(left.end(), {up, Point{-w, -h}, left_mid, Point{-w, h}});
    triangulate(right, screen, out);
    const size_t right_count = out.size();
    triangulate(left, screen, out);
    // A simple polygon of n corners makes n - 2 triangles.
    if (right_count != right.size() - 2 || out.size() - right_count != left.size() - 2) out.clear();
    return out;
}
