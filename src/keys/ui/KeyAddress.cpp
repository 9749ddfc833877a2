#include "keys/ui/KeyAddress.h"

#include <ctime>

#include "hive/RegistryReader.h"
#include "support/TextConvert.h"

namespace hivora::ui {

std::string_view GetRootKeyName(RootKey root) {
    switch (root) {
        case kClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case kCurrentUser:
            return "HKEY_CURRENT_USER";
        case kLocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case kUsers:
            return "HKEY_USERS";
        case kPerformanceData:
            return "HKEY_PERFORMANCE_DATA";
        case kCurrentConfig:
            return "HKEY_CURRENT_CONFIG";
        case kDynData:
            return "HKEY_DYN_DATA";
        default:
            return "UNDEFINED";
    }
}

std::string_view GetRootLabel() {
    return "Hivora Registry";
}

std::string FormatKeyDate(const KeyItemData& record) {
    constexpr FileTime kUnixEpoch = 116444736000000000ull;
    const auto seconds =
        static_cast<time_t>((static_cast<long long>(record.lastWrite / 10000000ull) -
                             static_cast<long long>(kUnixEpoch / 10000000ull)));
    struct tm local = {};
    if (localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    char text[32];
    const size_t length = strftime(text, sizeof text, "%d-%m-%Y", &local);
    return std::string(text, length);
}

std::string KeyPathText(const KeyItemData* record, bool withDate, bool withRootLabel) {
    if (record == nullptr) {
        return std::string(GetRootLabel());
    }
    std::string text;
    if (withRootLabel) {
        text += GetRootLabel();
        text += '\\';
    }
    text += GetRootKeyName(record->root);
    text += '\\';
    text += record->subPath;
    while (!text.empty() && text.back() == '\\') {
        text.pop_back();
    }
    if (withDate && !record->subPath.empty()) {
        text += " (" + FormatKeyDate(*record) + ")";
    }
    return text;
}

bool KeyHasSubkeys(RootKey root, std::string_view subPath) {
    RegKey key = OpenRegKey(root, subPath);
    return key && HasSubkeys(key.get());
}

std::vector<ChildKey> EnumChildKeys(const KeyItemData& parent) {
    std::vector<ChildKey> children;
    RegKey key = OpenRegKey(parent.root, parent.subPath);
    if (!key) {
        return children;
    }
    SubkeyInfo info;
    for (uint32_t index = 0;; ++index) {
        // The enumeration hands over an open handle to each child, so the probe costs one
        // first-subkey query instead of a second walk down the whole path.
        RegKey child;
        if (EnumSubkey(key.get(), index, info, &child) != ERROR_SUCCESS) {
            break;
        }
        ChildKey entry;
        entry.name = ToUtf8(info.name);
        entry.record.root = parent.root;
        entry.record.subPath =
            parent.subPath.empty() ? entry.name : parent.subPath + "\\" + entry.name;
        entry.record.lastWrite = info.lastWrite;
        entry.hasSubkeys = child && HasSubkeys(child.get());
        entry.record.populated = !entry.hasSubkeys;
        children.push_back(std::move(entry));
    }
    return children;
}

}  // namespace hivora::ui
