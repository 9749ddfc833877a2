#include "hive/TreeWalk.h"

#include <algorithm>

#include "keys/RegistryWalker.h"
#include "support/TextConvert.h"

namespace hivora::test {
namespace {

class VisitorAdapter : public WalkVisitor {
public:
    VisitorAdapter(RegistryWalker& walker, const TreeVisitor& visitor)
        : walker_(walker), visitor_(visitor) {}

    WalkStep Enter(const WalkedKey& key) override {
        if (key.reach != KeyReach::Open) {
            return WalkStep::Skip;
        }
        const std::u16string path = key.depth == 0 ? u"" : ToUtf16(key.path.substr(1));
        visitor_.onKey(path, key.depth);
        ValueInfo info;
        for (uint32_t i = 0; EnumValueInfo(key.key, i, info) == ERROR_SUCCESS; ++i) {
            walker_.ChargeValue(info.size);
            WalkedValue value{info.name, info.type, info.size, {}};
            ReadValueData(key.key, i, info.size, value.data);
            visitor_.onValue(path, value);
        }
        return WalkStep::Descend;
    }

private:
    RegistryWalker& walker_;
    const TreeVisitor& visitor_;
};

}  // namespace

void WalkTree(HKEY start, const TreeVisitor& visitor) {
    RegistryWalker walker;
    VisitorAdapter adapter(walker, visitor);
    walker.Walk(start, "", adapter);
}

TreeSummary SummarizeTree(HKEY start) {
    TreeSummary summary;
    summary.pathDigest = 0xcbf29ce484222325ull;
    WalkTree(start, {[&](const std::u16string& path, int depth) {
                         ++summary.keys;
                         summary.maxDepth = std::max(summary.maxDepth, depth);
                         for (unsigned char c : ToUtf8(path) + '\n') {
                             summary.pathDigest = (summary.pathDigest ^ c) * 0x100000001b3ull;
                         }
                     },
                     [&](const std::u16string&, const WalkedValue& value) {
                         ++summary.values;
                         summary.dataBytes += value.data.size();
                     }});
    return summary;
}

}  // namespace hivora::test
