// Smooth value noise on a hashed lattice, optionally periodic so tiling
// textures (grass, bark) wrap without a seam. Deterministic for a seed.
#pragma once
#include <cstdint>

class Noise {
public:
    explicit Noise(uint32_t seed) : seed(seed) {}

    // Noise in [0, 1] at (x, y) in lattice units. With a period above 0 the
    // lattice repeats every period cells across (and every period_y cells
    // down; -1 takes the same period).
    double value(double x, double y, int period = 0, int period_y = -1) const;
    // Sum of octaves, each twice the frequency and half the weight of the one
    // before, normalised to [0, 1]. The periods double with the frequency.
    double fbm(double x, double y, int octaves, int period = 0, int period_y = -1) const;

private:
    double lattice(int x, int y, int period, int period_y) const;
    uint32_t seed;
};
