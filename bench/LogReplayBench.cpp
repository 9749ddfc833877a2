// The cost of replaying transaction logs: the dirty regipy SYSTEM_B (12 MB) with its two logs
// (24 entries), opened without and with them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hive/HiveSet.h"
#include "hive/LogReplay.h"

namespace hivora {
namespace {

std::string SystemB() {
    const char* corpus = std::getenv("HIVORA_CORPUS");
    return corpus ? std::string(corpus) + "/regipy/SYSTEM_B" : std::string();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::error_code error;
    std::vector<uint8_t> bytes(std::filesystem::file_size(path, error));
    std::ifstream(path, std::ios::binary)
        .read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Read the hive and load it as it is.
void BM_OpenWithoutLogs(benchmark::State& state) {
    const std::string path = SystemB();
    for (auto _ : state) {
        std::vector<uint8_t> image = ReadBytes(path);
        if (LoadHiveImage(HiveSlot::System, image.data(), image.size()) != 1) {
            state.SkipWithError("set HIVORA_CORPUS to the unpacked hive corpus");
            return;
        }
    }
    FreeHiveSet();
}
BENCHMARK(BM_OpenWithoutLogs)->Unit(benchmark::kMillisecond);

// Read the hive and its logs, replay, load the result.
void BM_OpenWithLogs(benchmark::State& state) {
    const std::string path = SystemB();
    for (auto _ : state) {
        std::vector<uint8_t> image = ReadBytes(path);
        const auto report = ReplayTransactionLogs(image, ReadTransactionLogs(path));
        if (report.state != LogReplayReport::State::Applied ||
            LoadHiveImage(HiveSlot::System, image.data(), image.size()) != 1) {
            state.SkipWithError("SYSTEM_B did not replay (is HIVORA_CORPUS set?)");
            return;
        }
    }
    FreeHiveSet();
}
BENCHMARK(BM_OpenWithLogs)->Unit(benchmark::kMillisecond);

// The replay alone, on logs already in memory.
void BM_ReplayOnly(benchmark::State& state) {
    const std::string path = SystemB();
    const std::vector<uint8_t> original = ReadBytes(path);
    const auto logs = ReadTransactionLogs(path);
    for (auto _ : state) {
        std::vector<uint8_t> image = original;
        benchmark::DoNotOptimize(ReplayTransactionLogs(image, logs).entries);
    }
}
BENCHMARK(BM_ReplayOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hivora
