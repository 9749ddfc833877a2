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
#include <functional>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/RegistryReader.h"
#include "hive/WalkGuard.h"
#include "keys/KeyTree.h"
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
void FindLargest(Largest& bySubkeys, Largest& byValues) {
    hivora::WalkGuard guard;
    std::function<void(HKEY, const std::string&, int)> walk = [&](HKEY key, const std::string& path,
                                                                  int depth) {
        const hivora::WalkGuard::Visit visit = guard.Enter(key, depth);
        if (!visit.enter) {
            return;
        }
        hivora::ValueInfo value;
        size_t values = 0;
        while (visit.values && hivora::EnumValueInfo(key, static_cast<uint32_t>(values), value) ==
                                   hivora::ERROR_SUCCESS) {
            ++values;
        }
        if (values > byValues.count) {
            byValues = {path, values};
        }
        hivora::SubkeyInfo info;
        size_t subkeys = 0;
        for (uint32_t i = 0; visit.subkeys; ++i) {
            RegKey child;
            if (hivora::EnumSubkey(key, i, info, &child) != hivora::ERROR_SUCCESS) {
                break;
            }
            ++subkeys;
            if (child) {
                const std::string name = hivora::ToUtf8(info.name);
                walk(child.get(), path.empty() ? name : path + "\\" + name, depth + 1);
            }
        }
        if (subkeys > bySubkeys.count) {
            bySubkeys = {path, subkeys};
        }
    };
    walk(hivora::HKEY_LOCAL_MACHINE, "", 0);
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
