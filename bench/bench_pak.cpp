// Opening a pack of a few megabytes from disk and finding entries in it.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/Pak.h"

namespace {
const int entry_count = 200;

// A pack of 200 entries of 16 KiB each (about 3.2 MB), written once.
const std::string& pack_path()
{
    static std::string path;
    if (path.empty()) {
        path = "/tmp/gardenlume_bench_" + std::to_string(getpid()) + ".pak";
        Pak pak;
        std::vector<uint8_t> block(16 * 1024);
        for (int i = 0; i < entry_count; ++i) {
            for (size_t k = 0; k < block.size(); ++k) block[k] = uint8_t(i + k);
            pak.add_data("textures/entry_" + std::to_string(i) + ".png", block.data(), int32_t(block.size()));
        }
        pak.save(path);
        std::atexit([] { std::remove(path.c_str()); });
    }
    return path;
}

void open_pack(benchmark::State& state)
{
    const std::string& path = pack_path();
    for (auto _ : state) {
        Pak pak;
        benchmark::DoNotOptimize(pak.read_file(path));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * entry_count * 16 * 1024);
}
BENCHMARK(open_pack)->Unit(benchmark::kMillisecond);

void find_entries(benchmark::State& state)
{
    Pak pak;
    pak.read_file(pack_path());
    std::vector<std::string> names;
    for (int i = 0; i < entry_count; i += 7) names.push_back("textures/entry_" + std::to_string(i) + ".png");
    names.push_back("absent");
    for (auto _ : state)
        for (const std::string& n : names) benchmark::DoNotOptimize(pak.find(n));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(names.size()));
}
BENCHMARK(find_entries);
}  // namespace

BENCHMARK_MAIN();
