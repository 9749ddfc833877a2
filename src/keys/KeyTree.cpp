#include "keys/KeyTree.h"

#include <algorithm>

#include "hive/HiveEngine.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/KeyPath.h"
#include "support/CaseFold.h"
#include "support/TextConvert.h"

namespace hivora {

bool KeyHasSubkeys(RootKey root, std::string_view subPath) {
    const RegKey key = OpenRegKey(root, subPath);
    return key && HasSubkeys(key.get());
}

std::vector<ChildKey> EnumerateChildKeys(const KeyItemData& parent) {
    std::vector<ChildKey> children;
    const RegKey key = OpenRegKey(parent.root, parent.subPath);
    if (!key) {
        return children;
    }
    SubkeyInfo info;
    RegKey childKey;
    for (uint32_t index = 0; EnumSubkey(key.get(), index, info, &childKey) == ERROR_SUCCESS;
         ++index) {
        ChildKey child;
        child.name = ToUtf8(info.name);
        child.data.root = parent.root;
        child.data.subPath = ChildSubPath(parent.subPath, child.name);
        child.data.lastWrite = info.lastWrite;
        // The probe looks through the handle the enumeration hands over: reopening every
        // child by path from the root costs a scan of the sibling list per child, which made
        // expanding a key with thousands of subkeys take seconds. A name holding "\" cannot
        // be reopened by its path, so its item gets no expand button that would lead nowhere.
        child.hasSubkeys =
            childKey && child.name.find('\\') == std::string::npos && HasSubkeys(childKey.get());
        child.data.populated = !child.hasSubkeys;
        child.identity = childKey && !IsLiveRegistry() ? HiveKeyIdentity(childKey.get()) : 0;
        children.push_back(std::move(child));
    }
    return children;
}

void SortChildKeys(std::vector<ChildKey>& children) {
    std::stable_sort(children.begin(), children.end(), [](const ChildKey& a, const ChildKey& b) {
        return CompareNoCase(a.name, b.name) < 0;
    });
}

std::vector<ChildKey> FillChildKeys(const KeyItemData& parent) {
    std::vector<ChildKey> children = EnumerateChildKeys(parent);
    SortChildKeys(children);
    return children;
}

}  // namespace hivora
