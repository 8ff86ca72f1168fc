// Reading a model entry of 10,000 triangles into meshes (the records only:
// texture resolution needs GL and is a one-off per texture).
#include <benchmark/benchmark.h>

#include <vector>

#include "resources/Model.h"
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
        Model model = Model::read(entry.data(), entry.size());
        benchmark::DoNotOptimize(model.meshes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(entry.size()));
}
BENCHMARK(parse_model)->Arg(1)->Arg(100);

// Reading every double of the 10,000 triangles as drawing does each frame.
void read_all_doubles(benchmark::State& state)
{
    std::vector<uint8_t> entry = model_of(1, 10000);
    const Model model = Model::read(entry.data(), entry.size());
    const Mesh_record& m = model.meshes.at(0);
    for (auto _ : state) {
        double sum = 0;
        for (int32_t t = 0; t < m.triangle_count; ++t)
            for (size_t k = 0; k < 3; ++k) {
                const Mesh_record::Corner c = m.corner(t, k);
                sum += c.x + c.y + c.z + c.u + c.v;
            }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(read_all_doubles);
}  // namespace

BENCHMARK_MAIN();
