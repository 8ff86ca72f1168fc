// Reading a model entry of 10,000 triangles into meshes (the records only:
// texture resolution needs GL and is a one-off per texture).
#include <benchmark/benchmark.h>

#include <vector>

#include "resources/Mesh.h"
#include "resources/Model_header.h"
#include "resources/Model_writer.h"

namespace {
std::vector<uint8_t> model_of(int meshes, int triangles_each)
{
    Model_writer w;
    for (int m = 0; m < meshes; ++m) {
        w.begin_mesh("bark" + std::to_string(m) + ".png");
        for (int t = 0; t < triangles_each; ++t) {
            double p[9], uv[6];
            for (int k = 0; k < 9; ++k) p[k] = t * 0.01 + k;
            for (int k = 0; k < 6; ++k) uv[k] = k / 6.0;
            w.add_triangle(p, uv);
        }
    }
    return w.bytes();
}

void parse_model(benchmark::State& state)
{
    const int meshes = int(state.range(0));
    std::vector<uint8_t> entry = model_of(meshes, 10000 / meshes);
    for (auto _ : state) {
        Byte_cursor c(entry.data(), entry.size());
        int32_t n = Model_header::read(c);
        std::vector<Mesh> out;
        for (int32_t i = 0; i < n; ++i) {
            Mesh m;
            if (!m.read_record(c)) break;
            out.push_back(m);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(entry.size()));
}
BENCHMARK(parse_model)->Arg(1)->Arg(100);

// Reading every double of the 10,000 triangles as drawing does each frame.
void read_all_doubles(benchmark::State& state)
{
    std::vector<uint8_t> entry = model_of(1, 10000);
    Byte_cursor c(entry.data(), entry.size());
    Model_header::read(c);
    Mesh m;
    m.read_record(c);
    for (auto _ : state) {
        double sum = 0;
        for (int32_t t = 0; t < m.triangle_count; ++t) {
            for (size_t k = 0; k < 9; ++k) sum += Byte_cursor::f64_at(m.positions, 72 * size_t(t) + 8 * k);
            for (size_t k = 0; k < 6; ++k) sum += Byte_cursor::f64_at(m.texcoords, 48 * size_t(t) + 8 * k);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(read_all_doubles);
}  // namespace

BENCHMARK_MAIN();
