// How fast the Find All results sort when they hold 100,000 hits: every column, both ways,
// through the pane's own view (the header click's path), painted. Prints the median of several
// runs per column, as wall time and as the process's CPU time (the machine may be shared).
//
//   cmake -B build -DHIVORA_BENCH=ON && cmake --build build --target hivora_find_all_bench
//   build/bin/hivora_find_all_bench
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "search/HitRows.h"
#include "search/ui/FindAllModel.h"
#include "search/ui/FindAllPane.h"
#include "support/FileTimeFormat.h"

namespace {

constexpr int kHits = 100'000;
constexpr int kRuns = 5;

// Hits shaped like a large hive's: deep paths sharing long beginnings, a mix of kinds, names
// and data, times spread over years.
std::vector<hivora::SearchResult> MakeHits() {
    std::mt19937 random(7);
    std::vector<hivora::SearchResult> hits;
    hits.reserve(kHits);
    const char* words[] = {"Microsoft", "Windows", "CurrentVersion", "Explorer", "Services",
                           "Classes",   "Control", "Policies",       "Software", "Setup"};
    for (int i = 0; i < kHits; ++i) {
        hivora::SearchResult hit;
        hit.keyPath = "HKEY_LOCAL_MACHINE\\software";
        for (int depth = 0; depth < 6; ++depth) {
            hit.keyPath += '\\';
            hit.keyPath += words[random() % 10];
        }
        hit.keyPath += "\\Item" + std::to_string(random() % 50'000);
        hit.kind = static_cast<hivora::MatchKind>(random() % 3);
        if (hit.kind == hivora::MatchKind::KeyName) {
            hit.valueName = hivora::kKeyHitValueName;
        } else {
            hit.valueName = std::string(words[random() % 10]) + std::to_string(random() % 1000);
            hit.data = "C:\\Program Files\\" + std::string(words[random() % 10]) + "\\" +
                       std::to_string(random());
        }
        hit.lastWrite = hivora::kUnixEpochFileTime +
                        hivora::FileTime{1'000'000'000 + random() % 700'000'000} *
                            hivora::kFileTimePerSecond;
        hits.push_back(std::move(hit));
    }
    return hits;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    const std::vector<hivora::SearchResult> hits = MakeHits();
    const std::vector<std::string> names = hivora::HitColumnNames();
    std::printf("%d hits, median of %d runs per sort\n", kHits, kRuns);
    for (int column = 0; column < hivora::kHitColumnCount; ++column) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            std::vector<double> samples;
            std::vector<double> cpu;
            for (int run = 0; run < kRuns; ++run) {
                hivora::FindAllPane pane;
                pane.resize(1000, 400);
                pane.show();
                pane.Model()->Append(hits);
                QApplication::processEvents();
                const auto start = std::chrono::steady_clock::now();
                const std::clock_t cpuStart = std::clock();
                pane.Table()->sortByColumn(column, order);
                pane.Table()->repaint();
                samples.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
                cpu.push_back(1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
            }
            std::sort(samples.begin(), samples.end());
            std::sort(cpu.begin(), cpu.end());
            std::printf("  %-18s %-10s median %7.1f ms (max %.1f), CPU %.1f ms\n",
                        names[column].c_str(),
                        order == Qt::AscendingOrder ? "ascending" : "descending",
                        samples[samples.size() / 2], samples.back(), cpu[cpu.size() / 2]);
        }
    }
    return 0;
}
