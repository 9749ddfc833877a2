// How long turning on the deleted-records view holds the window on a large hive: the first
// expansion of the hive's root key scans the whole hive for deleted records, indexes them and
// inserts the root's children with its deleted ones. Prints the median of several runs, with
// the scan alone for comparison.
//
//   cmake -B build -DHIVORA_BENCH=ON && cmake --build build --target hivora_deleted_view_bench
//   build/bin/hivora_deleted_view_bench HIVE...
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/DeletedRecords.h"
#include "hive/HiveSet.h"
#include "keys/DeletedKeyIndex.h"
#include "keys/ui/CRegistryTreeCtrl.h"

namespace {

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

template <class Work>
double Milliseconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Measure(const std::string& file, int runs) {
    hivora::FileSet set;
    set[hivora::HiveSlot::System] = file;
    hivora::LoadFileSet(set);
    const hivora::HiveImage* hive = hivora::HiveInSlot(hivora::HiveSlot::System);
    if (hive == nullptr) {
        std::fprintf(stderr, "%s: not loaded\n", file.c_str());
        return;
    }
    std::vector<double> scan;
    std::vector<double> expand;
    std::vector<double> group;
    size_t records = 0;
    int groupItems = 0;
    for (int run = 0; run < runs; ++run) {
        hivora::DropDeletedIndexes();
        hivora::ShowDeletedRecords(true);
        hivora::CRegistryTreeCtrl tree;
        tree.AddRoot(hivora::kLocalMachine);
        tree.InsertRoots();
        tree.resize(400, 700);
        tree.show();
        tree.SelectPath("HKEY_LOCAL_MACHINE");
        tree.currentItem()->setExpanded(true);
        QTreeWidgetItem* root = tree.currentItem()->child(0);
        expand.push_back(Milliseconds([&] {
            root->setExpanded(true);
            QApplication::processEvents();
        }));
        // The node of unknown parents comes first after the live keys.
        QTreeWidgetItem* last = root->child(root->childCount() - 1);
        if (hivora::CRegistryTreeCtrl::KeyItemOf(last)->IsDeleted()) {
            group.push_back(Milliseconds([&] {
                last->setExpanded(true);
                QApplication::processEvents();
            }));
            groupItems = last->childCount();
        }

        scan.push_back(Milliseconds([&] {
            const hivora::DeletedRecords found = hivora::ScanDeletedRecords(*hive);
            records = found.Keys().size() + found.Values().size();
        }));
    }
    std::printf("%-45s %5zu records  scan %6.1f ms  expand root (scan included) %6.1f ms",
                file.c_str(), records, Median(scan), Median(expand));
    if (!group.empty()) {
        std::printf("  expand unknown-parent node (%d keys) %6.1f ms", groupItems, Median(group));
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        Measure(argv[i], 7);
    }
    return 0;
}
