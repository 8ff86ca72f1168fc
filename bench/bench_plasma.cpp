// The plasma image computed the fast way (sines per row and column) beside
// the plain per-pixel formula (six sines per pixel), with the speed-up.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "texgen/Plasma_image.h"

namespace {
// The formula as written, pixel by pixel.
void per_pixel(const Plasma_image& p, int32_t t, std::vector<uint8_t>& out)
{
    const double T = t, a = T * -0.00012, b = T * -0.00024, c = T * -0.0048;
    for (int i = 0; i < p.height; ++i) {
        for (int j = 0; j < p.width; ++j) {
            double s = std::sin(p.step_x * j + a) + std::sin(2 * p.step_x * j + b) + std::sin(4 * p.step_x * j + c) +
                       std::sin(p.step_y * i + a) + std::sin(2 * p.step_y * i + b) + std::sin(4 * p.step_y * i + c);
            int v = int(s * 21.0 + 128.0), d = v - 120;
            int alpha = (v >= 121 && v <= 126) ? 255 : 0;
            int green = (p.tint_green + d) & 255;
            if (j % 16 == 0 || i % 16 == 0 || j == p.width - 1 || i == p.height - 1) green = 127, alpha = 255;
            uint8_t* px = &out[4 * (size_t(i) * p.width + j)];
            px[0] = uint8_t(p.tint_red + d);
            px[1] = uint8_t(green);
            px[2] = uint8_t(p.tint_blue + d);
            px[3] = uint8_t(alpha);
        }
    }
}

void plasma_fast(benchmark::State& state)
{
    const int n = int(state.range(0));
    Plasma_image p(n, n, ",250,10,20");
    int32_t t = 0;
    for (auto _ : state) {
        p.compute(t += 16);
        benchmark::DoNotOptimize(p.pixels);
    }
}
BENCHMARK(plasma_fast)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);

void plasma_per_pixel(benchmark::State& state)
{
    const int n = int(state.range(0));
    Plasma_image p(n, n, ",250,10,20");
    std::vector<uint8_t> out(size_t(n) * n * 4);
    int32_t t = 0;
    for (auto _ : state) {
        per_pixel(p, t += 16, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(plasma_per_pixel)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);

template <typename F>
double microseconds_per_call(F f)
{
    using clock = std::chrono::steady_clock;
    int calls = 0;
    auto start = clock::now();
    double elapsed = 0;
    while (elapsed < 0.3) {
        f(calls++);
        elapsed = std::chrono::duration<double>(clock::now() - start).count();
    }
    return elapsed * 1e6 / calls;
}

void print_speed_up()
{
    for (int n : {64, 256}) {
        Plasma_image p(n, n, ",250,10,20");
        std::vector<uint8_t> out(size_t(n) * n * 4);
        double fast = microseconds_per_call([&](int i) { p.compute(i * 16); });
        double slow = microseconds_per_call([&](int i) { per_pixel(p, i * 16, out); });
        std::printf("Plasma %dx%d: fast %.1f us, per-pixel %.1f us, speed-up %.1fx\n", n, n, fast, slow, slow / fast);
    }
}
}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    print_speed_up();
    return 0;
}
