// How fast the registry window reacts on the largest keys of the corpus: expanding the key
// with the most subkeys (enumerate, probe every child, insert the items) and filling the
// values list of the key with the most values. Prints the median of several runs.
//
//   cmake -B build -DHIVORA_BENCH=ON && cmake --build build --target hivora_desktop_bench
//   HIVORA_CORPUS=.cache/corpus build/bin/hivora_desktop_bench
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/RegistryReader.h"
#include "keys/KeyTree.h"
#include "keys/RegistryWalker.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "support/TextConvert.h"
#include "values/ui/CRegValuesList.h"

namespace {

using hivora::HKEY;
using hivora::RegKey;

struct Largest {
    std::string path;  // below HKEY_LOCAL_MACHINE
    size_t count = 0;
};

// Walks the whole of HKEY_LOCAL_MACHINE once and finds the key with the most subkeys and the
// key with the most values.
class FindLargestWalk : public hivora::WalkVisitor {
public:
    FindLargestWalk(Largest& bySubkeys, Largest& byValues)
        : bySubkeys_(bySubkeys), byValues_(byValues) {}

    hivora::WalkStep Enter(const hivora::WalkedKey& key) override {
        if (key.reach != hivora::KeyReach::Open) {
            return hivora::WalkStep::Skip;
        }
        const std::string_view path = key.depth == 0 ? std::string_view() : key.path.substr(1);
        paths_.resize(static_cast<size_t>(key.depth) + 1);
        paths_[key.depth] = path;
        hivora::ValueInfo value;
        size_t values = 0;
        while (hivora::EnumValueInfo(key.key, static_cast<uint32_t>(values), value) ==
               hivora::ERROR_SUCCESS) {
            ++values;
        }
        if (values > byValues_.count) {
            byValues_ = {std::string(path), values};
        }
        return hivora::WalkStep::Descend;
    }

    void Leave(int depth, uint32_t subkeys) override {
        if (subkeys > bySubkeys_.count) {
            bySubkeys_ = {paths_[depth], subkeys};
        }
    }

private:
    Largest& bySubkeys_;
    Largest& byValues_;
    std::vector<std::string> paths_;
};

void FindLargest(Largest& bySubkeys, Largest& byValues) {
    FindLargestWalk visitor(bySubkeys, byValues);
    hivora::RegistryWalker().Walk(hivora::HKEY_LOCAL_MACHINE, "", visitor);
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void Measure(const char* label, const std::string& file, hivora::HiveSlot slot, int runs) {
    hivora::FileSet set;
    set[slot] = file;
    hivora::LoadFileSet(set);
    Largest bySubkeys;
    Largest byValues;
    FindLargest(bySubkeys, byValues);

    std::vector<double> expand;
    for (int run = 0; run < runs; ++run) {
        hivora::CRegistryTreeCtrl tree;
        tree.AddRoot(hivora::kLocalMachine);
        tree.InsertRoots();
        tree.resize(400, 700);
        tree.show();
        const size_t slash = bySubkeys.path.rfind('\\');
        tree.SelectPath("HKEY_LOCAL_MACHINE\\" + bySubkeys.path.substr(0, slash));
        tree.SelectPath("HKEY_LOCAL_MACHINE\\" + bySubkeys.path);
        QTreeWidgetItem* item = tree.currentItem();
        const auto start = std::chrono::steady_clock::now();
        item->setExpanded(true);
        QApplication::processEvents();
        expand.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        if (item->childCount() != static_cast<int>(bySubkeys.count)) {
            std::fprintf(stderr, "expanded %d items, expected %zu\n", item->childCount(),
                         bySubkeys.count);
        }
    }

    // The listing alone (enumerate, probe, sort), without any widget.
    std::vector<double> listing;
    hivora::KeyItemData parent;
    parent.root = hivora::kLocalMachine;
    parent.subPath = bySubkeys.path;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<hivora::ChildKey> children = hivora::FillChildKeys(parent);
        listing.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    }

    std::vector<double> fill;
    hivora::KeyItemData record;
    record.root = hivora::kLocalMachine;
    record.subPath = byValues.path;
    hivora::CRegValuesList list;
    list.resize(700, 700);
    list.show();
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        list.Fill(&record);
        QApplication::processEvents();
        fill.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    }
    std::printf("%s\n  expand %s (%zu subkeys): median %.1f ms of %d runs\n", label,
                bySubkeys.path.c_str(), bySubkeys.count, Median(expand), runs);
    std::printf("    of which the listing without widgets: median %.1f ms\n", Median(listing));
    std::printf("  fill values of %s (%zu values, %d rows): median %.1f ms of %d runs\n",
                byValues.path.c_str(), byValues.count, list.RowCount(), Median(fill), runs);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    const char* corpus = std::getenv("HIVORA_CORPUS");
    if (corpus == nullptr) {
        std::fprintf(stderr, "set HIVORA_CORPUS to the unpacked corpus folder\n");
        return 2;
    }
    const std::string dir = std::string(corpus) + "/regipy/";
    Measure("regipy/SYSTEM_WIN_10_1709", dir + "SYSTEM_WIN_10_1709", hivora::HiveSlot::System, 9);
    Measure("regipy/ntuser_software_partial", dir + "ntuser_software_partial",
            hivora::HiveSlot::Software, 9);
    return 0;
}
