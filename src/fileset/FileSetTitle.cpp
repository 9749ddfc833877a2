#include "fileset/FileSetTitle.h"

#include <string_view>

namespace hivora {
namespace {

std::string_view FolderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

}  // namespace

std::string FileSetTitle(const FileSet& set) {
    std::string_view first;
    bool oneFolder = true;
    for (HiveSlot slot : kFileSetList) {
        const std::string& name = set[slot];
        if (name.empty()) {
            continue;
        }
        if (first.empty()) {
            first = name;
        } else if (FolderOf(name) != FolderOf(first)) {
            oneFolder = false;
        }
    }
    if (first.empty()) {
        return {};
    }
    if (oneFolder && !FolderOf(first).empty()) {
        return std::string(FolderOf(first));
    }
    std::string title;
    for (HiveSlot slot : {HiveSlot::System, HiveSlot::NtUser}) {
        if (!set[slot].empty()) {
            title += (title.empty() ? "" : ", ") + set[slot];
        }
    }
    return title.empty() ? std::string(first) : title;
}

}  // namespace hivora
