// The art's one source of chance: a small seeded generator (splitmix64)
// whose sequence is the same on every machine and compiler, so the packs
// come out byte for byte alike from build to build. The standard library's
// distributions are not used for that reason: their results are not fixed.
#pragma once
#include <cstdint>

class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}

    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), 53 bits.
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return n > 0 ? int(next() % uint64_t(n)) : 0; }

private:
    uint64_t state;
};
