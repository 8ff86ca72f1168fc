// A colour while painting: red, green, blue, alpha as floats from 0 to 1,
// with the few blends the painters share. Images turn them into bytes only
// when they are encoded.
#pragma once
#include <algorithm>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Rgba rgb(float r, float g, float b, float a = 1) { return Rgba{r, g, b, a}; }
// 0xRRGGBB, as colours are usually written down.
inline Rgba hex(unsigned v, float a = 1)
{
    return Rgba{((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f, a};
}
inline float clamp01(double v) { return float(std::min(1.0, std::max(0.0, v))); }
inline double smoothstep(double e0, double e1, double x)
{
    double t = std::min(1.0, std::max(0.0, (x - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}
inline Rgba mix(const Rgba& p, const Rgba& q, double t)
{
    float f = float(t);
    return Rgba{p.r + (q.r - p.r) * f, p.g + (q.g - p.g) * f, p.b + (q.b - p.b) * f,
                p.a + (q.a - p.a) * f};
}
// Brightness change keeping alpha.
inline Rgba shade(const Rgba& c, double k)
{
    return Rgba{clamp01(c.r * k), clamp01(c.g * k), clamp01(c.b * k), c.a};
}
inline Rgba with_alpha(Rgba c, double a)
{
    c.a = float(a);
    return c;
}
