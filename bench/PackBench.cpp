#include <benchmark/benchmark.h>
#include <filesystem>

#include "assets/AssetPack.h"
#include "assets/PackWriter.h"

namespace {
// A 10 000-entry pack, made once for all benchmarks of this file.
const std::string& bigPack() {
    static const std::string path = [] {
        const auto p = std::filesystem::temp_directory_path() / "vov-bench-10000.zez";
        PackWriter writer;
        for (int i = 0; i < 10000; ++i)
            writer.add("Assets/bench/entry" + std::to_string(i) + ".txt", std::vector<uint8_t>(64, 'x'));
        writer.write(p, nullptr);
        return p.string();
    }();
    return path;
}
} // namespace

static void BM_ReadDirectoryOf10000Entries(benchmark::State& state) {
    for (auto _ : state) {
        AssetPack pack(bigPack());
        pack.loadIndex();
        benchmark::DoNotOptimize(pack.entryCount());
    }
}
BENCHMARK(BM_ReadDirectoryOf10000Entries)->Unit(benchmark::kMillisecond);

static void BM_LookUpAnEntry(benchmark::State& state) {
    AssetPack pack(bigPack());
    pack.loadIndex();
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pack.has("Assets/bench/entry" + std::to_string(i) + ".txt"));
        i = (i + 7919) % 10000;
    }
}
BENCHMARK(BM_LookUpAnEntry);

static void BM_FetchAnEntry(benchmark::State& state) {
    AssetPack pack(bigPack());
    pack.loadIndex();
    int i = 0;
    for (auto _ : state) {
        auto buffer = pack.readFile("Assets/bench/entry" + std::to_string(i) + ".txt");
        benchmark::DoNotOptimize(buffer);
        i = (i + 7919) % 10000;
    }
}
BENCHMARK(BM_FetchAnEntry)->Unit(benchmark::kMicrosecond);
