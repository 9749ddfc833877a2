#include "keys/KeyPath.h"

#include <ctime>

#include "support/FileTimeFormat.h"

namespace hivora {

const char* GetRootKeyName(RootKey root) {
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

const char* GetRootLabel() {
    return kRootLabel;
}

std::string FormatKeyDate(FileTime lastWrite) {
    const std::time_t seconds = FileTimeToTimeT(lastWrite);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    char text[64];
    const size_t length = std::strftime(text, sizeof text, "%d-%m-%Y", &local);
    return std::string(text, length);
}

std::string FormatKeyDate(const KeyItemData& record) {
    return FormatKeyDate(record.lastWrite);
}

std::string FormatKeyPath(const KeyItemData* record, bool withDate, bool withRootLabel) {
    if (record == nullptr) {
        return kRootLabel;
    }
    std::string path;
    if (withRootLabel) {
        path = kRootLabel;
        path += '\\';
    }
    path += GetRootKeyName(record->root);
    path += '\\';
    path += record->subPath;
    while (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    if (withDate && !record->subPath.empty()) {
        path += " (" + FormatKeyDate(*record) + ")";
    }
    return path;
}

std::string RootAndSubPath(RootKey root, std::string_view subPath) {
    std::string path = GetRootKeyName(root);
    path += '\\';
    path += subPath;
    return path;
}

std::pair<std::string_view, std::string_view> SplitFirstComponent(std::string_view path) {
    const size_t slash = path.find('\\');
    if (slash == std::string_view::npos) {
        return {path, {}};
    }
    return {path.substr(0, slash), path.substr(slash + 1)};
}

std::string_view LastComponent(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string ChildSubPath(std::string_view parentSubPath, std::string_view name) {
    std::string path(parentSubPath);
    if (!path.empty()) {
        path += '\\';
    }
    path += name;
    return path;
}

}  // namespace hivora
