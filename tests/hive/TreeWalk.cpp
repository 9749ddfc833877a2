#include "hive/TreeWalk.h"

#include <algorithm>

#include "hive/WalkGuard.h"
#include "support/TextConvert.h"

namespace hivora::test {
namespace {

void WalkFrom(HKEY key, const std::u16string& path, int depth, WalkGuard& guard,
              const TreeVisitor& visitor) {
    const WalkGuard::Visit visit = guard.Enter(key, depth);
    if (!visit.enter) {
        return;
    }
    if (visitor.onKey) {
        visitor.onKey(path, depth);
    }
    if (visit.values) {
        for (uint32_t i = 0;; ++i) {
            ValueInfo info;
            if (EnumValueInfo(key, i, info) != ERROR_SUCCESS) {
                break;
            }
            WalkedValue value{info.name, info.type, info.size, {}};
            ReadValueData(key, i, info.size, value.data);
            if (visitor.onValue) {
                visitor.onValue(path, value);
            }
        }
    }
    if (visit.subkeys) {
        for (uint32_t i = 0;; ++i) {
            SubkeyInfo subkey;
            RegKey handle;
            if (EnumSubkey(key, i, subkey, &handle) != ERROR_SUCCESS) {
                break;
            }
            if (handle) {
                WalkFrom(handle.get(), path.empty() ? subkey.name : path + u'\\' + subkey.name,
                         depth + 1, guard, visitor);
            }
        }
    }
}

}  // namespace

void WalkTree(HKEY start, const TreeVisitor& visitor) {
    WalkGuard guard;
    WalkFrom(start, u"", 0, guard, visitor);
}

TreeSummary SummarizeTree(HKEY start) {
    TreeSummary summary;
    summary.pathDigest = 0xcbf29ce484222325ull;
    TreeVisitor visitor;
    visitor.onKey = [&](const std::u16string& path, int depth) {
        ++summary.keys;
        summary.maxDepth = std::max(summary.maxDepth, depth);
        for (unsigned char c : ToUtf8(path) + '\n') {
            summary.pathDigest = (summary.pathDigest ^ c) * 0x100000001b3ull;
        }
    };
    visitor.onValue = [&](const std::u16string&, const WalkedValue& value) {
        ++summary.values;
        summary.dataBytes += value.data.size();
    };
    WalkTree(start, visitor);
    return summary;
}

}  // namespace hivora::test
