#include "Noise.h"

#include <cmath>

namespace {
uint32_t hash3(uint32_t a, uint32_t b, uint32_t c)
{
    uint32_t h = a * 0x8DA6B343u ^ b * 0xD8163841u ^ c * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

int wrap(int v, int period)
{
    if (period <= 0) return v;
    int m = v % period;
    return m < 0 ? m + period : m;
}
}  // namespace

double Noise::lattice(int x, int y, int period, int period_y) const
{
    uint32_t h = hash3(uint32_t(wrap(x, period)), uint32_t(wrap(y, period_y)), seed);
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double Noise::value(double x, double y, int period, int period_y) const
{
    if (period_y < 0) period_y = period;
    double fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = lattice(ix, iy, period, period_y), b = lattice(ix + 1, iy, period, period_y);
    double c = lattice(ix, iy + 1, period, period_y), d = lattice(ix + 1, iy + 1, period, period_y);
    double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double Noise::fbm(double x, double y, int octaves, int period, int period_y) const
{
    if (period_y < 0) period_y = period;
    double sum = 0, weight = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        // Whole-cell shifts keep the octaves apart without breaking the period.
        sum += weight * value(x + 37 * i, y + 91 * i, period, period_y);
        total += weight;
        x *= 2;
        y *= 2;
        if (period > 0) period *= 2;
        if (period_y > 0) period_y *= 2;
        weight *= 0.5;
    }
    return sum / total;
}
