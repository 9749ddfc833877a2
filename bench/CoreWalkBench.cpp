// The core's whole-registry walks over the largest file set of the corpus: loading it, reading
// every key and value through the back-end table, and a search that finds nothing (so it
// visits everything the search can visit).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/RegistryWalker.h"
#include "search/SearchEngine.h"

namespace hivora {
namespace {

// The Windows 10 set: the largest SYSTEM hive with the user, SAM, SECURITY, DEFAULT and BCD
// hives of one machine.
FileSet LargestSet(const std::string& corpus) {
    const std::string machine = corpus + "/dfir-artifact-museum/Registry/Win10/RathbunVM/";
    FileSet set;
    set[HiveSlot::System] = corpus + "/regipy/SYSTEM_WIN_10_1709";
    set[HiveSlot::NtUser] = machine + "NTUSER.DAT";
    set[HiveSlot::Sam] = machine + "SAM";
    set[HiveSlot::Security] = machine + "SECURITY";
    set[HiveSlot::Default] = machine + "DEFAULT";
    set[HiveSlot::Bcd] = machine + "BCD-Template";
    return set;
}

bool LoadLargestSet(benchmark::State& state) {
    const char* corpus = std::getenv("HIVORA_CORPUS");
    if (corpus == nullptr || LoadFileSet(LargestSet(corpus)) != 1) {
        state.SkipWithError("set HIVORA_CORPUS to the unpacked hive corpus");
        return false;
    }
    return true;
}

struct WalkCounts {
    uint64_t keys = 0;
    uint64_t values = 0;
    uint64_t bytes = 0;
};

class ReadEverything : public WalkVisitor {
public:
    ReadEverything(RegistryWalker& walker, WalkCounts& counts) : walker_(walker), counts_(counts) {}

    WalkStep Enter(const WalkedKey& key) override {
        if (key.reach != KeyReach::Open) {
            return WalkStep::Skip;
        }
        ++counts_.keys;
        ValueInfo info;
        for (uint32_t i = 0; EnumValueInfo(key.key, i, info) == ERROR_SUCCESS; ++i) {
            ++counts_.values;
            walker_.ChargeValue(info.size);
            if (ReadValueData(key.key, i, info.size, data_) == ERROR_SUCCESS) {
                counts_.bytes += data_.size();
            }
        }
        return WalkStep::Descend;
    }

private:
    RegistryWalker& walker_;
    WalkCounts& counts_;
    std::vector<uint8_t> data_;
};

void BM_LoadLargestSet(benchmark::State& state) {
    UseHiveEngine();
    for (auto _ : state) {
        if (!LoadLargestSet(state)) {
            return;
        }
    }
    FreeHiveSet();
}
BENCHMARK(BM_LoadLargestSet)->Unit(benchmark::kMillisecond);

void BM_WalkEveryKeyAndValue(benchmark::State& state) {
    UseHiveEngine();
    if (!LoadLargestSet(state)) {
        return;
    }
    WalkCounts counts;
    for (auto _ : state) {
        counts = WalkCounts();
        RegistryWalker walker;
        ReadEverything visitor(walker, counts);
        walker.Walk(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", visitor);
        walker.Walk(HKEY_USERS, "HKEY_USERS", visitor);
        benchmark::DoNotOptimize(counts);
    }
    state.counters["keys"] = static_cast<double>(counts.keys);
    state.counters["values"] = static_cast<double>(counts.values);
    state.counters["data_bytes"] = static_cast<double>(counts.bytes);
    FreeHiveSet();
}
BENCHMARK(BM_WalkEveryKeyAndValue)->Unit(benchmark::kMillisecond);

void BM_SearchFindingNothing(benchmark::State& state) {
    UseHiveEngine();
    if (!LoadLargestSet(state)) {
        return;
    }
    SearchCriteria criteria;  // key names, value names and string data
    criteria.text = "no such text anywhere 7f3a9c";
    for (auto _ : state) {
        const auto hit = SearchFrom(criteria);
        if (hit) {
            state.SkipWithError("the search text was found");
            break;
        }
    }
    FreeHiveSet();
}
BENCHMARK(BM_SearchFindingNothing)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hivora
