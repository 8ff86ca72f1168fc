#include "Brush.h"

#include <cmath>

#include "Outline.h"

void Brush::leaf(Image& img, double x, double y, double angle, double length, double width,
                 const Rgba& colour, const Rgba& rib, bool wrap)
{
    double ca = std::cos(angle), sa = std::sin(angle);
    double reach = length + 2;
    img.paint(int(std::floor(x - reach)), int(std::floor(y - reach)), int(std::ceil(x + reach)),
              int(std::ceil(y + reach)),
              [&](double px, double py) {
                  double dx = px - x, dy = py - y;
                  double u = (dx * ca + dy * sa) / length;  // 0 at base, 1 at tip
                  double v = -dx * sa + dy * ca;            // across, pixels
                  if (u < 0 || u > 1) return Rgba{0, 0, 0, 0};
                  double half = 0.5 * width * std::pow(std::sin(M_PI * std::pow(u, 0.8)), 0.75);
                  double edge = half - std::fabs(v);
                  double cover = smoothstep(-0.6, 0.6, edge);
                  if (cover <= 0) return Rgba{0, 0, 0, 0};
                  // One half catches the light, the other is in shade.
                  Rgba c = shade(colour, v > 0 ? 1.12 - 0.2 * u : 0.85 + 0.1 * u);
                  double rib_w = std::max(0.5, width * 0.05);
                  if (std::fabs(v) < rib_w && u < 0.92) c = mix(c, rib, 0.7);
                  return with_alpha(c, cover * colour.a);
              },
              wrap);
}

void Brush::blade(Image& img, double x, double y, double angle, double length, double width,
                  double bend, const Rgba& colour, bool wrap)
{
    int steps = std::max(3, int(length / 1.5));
    double px = x, py = y, a = angle;
    for (int i = 0; i < steps; ++i) {
        double f = double(i) / steps;
        double seg = length / steps;
        double nx = px + std::cos(a) * seg, ny = py + std::sin(a) * seg;
        Brush::line(img, px, py, nx, ny, width * (1 - f) + 0.4, shade(colour, 0.8 + 0.4 * f), wrap);
        px = nx, py = ny;
        a += bend / steps;
    }
}

void Brush::petal(Image& img, double cx, double cy, double angle, double inner, double length,
                  double width, const Rgba& base, const Rgba& tip)
{
    double mid = inner + length / 2;
    double ex = cx + std::cos(angle) * mid, ey = cy + std::sin(angle) * mid;
    double ca = std::cos(angle), sa = std::sin(angle);
    double reach = length / 2 + width + 2;
    img.paint(int(ex - reach), int(ey - reach), int(ex + reach) + 1, int(ey + reach) + 1,
              [&](double px, double py) {
                  double dx = px - ex, dy = py - ey;
                  double u = (dx * ca + dy * sa) / (length / 2);
                  double v = (-dx * sa + dy * ca) / (width / 2);
                  double r = std::sqrt(u * u + v * v);
                  double cover = smoothstep(-0.7, 0.7, (1 - r) * width / 2);
                  if (cover <= 0) return Rgba{0, 0, 0, 0};
                  Rgba c = mix(base, tip, smoothstep(-1, 1, u));
                  // A faint groove down the petal.
                  if (std::fabs(v) < 0.08) c = shade(c, 0.92);
                  return with_alpha(c, cover * c.a);
              });
}

void Brush::line(Image& img, double x0, double y0, double x1, double y1, double width,
                 const Rgba& colour, bool wrap)
{
    double r = width / 2;
    img.paint(int(std::floor(std::min(x0, x1) - r - 1)), int(std::floor(std::min(y0, y1) - r - 1)),
              int(std::ceil(std::max(x0, x1) + r + 1)), int(std::ceil(std::max(y0, y1) + r + 1)),
              [&](double px, double py) {
                  double d = segment_distance(Point{px, py}, Point{x0, y0}, Point{x1, y1});
                  return with_alpha(colour, colour.a * smoothstep(-0.6, 0.6, r - d));
              },
              wrap);
}
