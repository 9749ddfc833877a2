#include "fileset/HiveFileState.h"

#include "hive/HiveFileCheck.h"
#include "hive/HiveSet.h"

namespace hivora {
namespace {

const HiveImage* LoadedFrom(std::string_view path) {
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        const HiveImage* image = HiveInSlot(static_cast<HiveSlot>(slot));
        if (image != nullptr && !path.empty() && image->LoadReport().path == path) {
            return image;
        }
    }
    return nullptr;
}

}  // namespace

std::string HiveLoadFailure(const FileSet& set, HiveSlot slot) {
    const std::string& path = set[slot];
    const HiveImage* image = HiveInSlot(slot);
    if (path.empty() || (image != nullptr && image->LoadReport().path == path)) {
        return {};
    }
    HiveFileCheck check = CheckHiveFile(path);
    return check.Loadable() ? "Unable to read " + path : std::move(check.reason);
}

std::string HiveRefusal(std::string_view path) {
    const std::string file(path);
    const HiveFileCheck check = CheckHiveFile(file);
    if (check.Loadable()) {
        return {};
    }
    const std::string suffix = ": " + file;
    std::string reason = check.reason;
    if (reason.size() > suffix.size() && reason.ends_with(suffix)) {
        reason.resize(reason.size() - suffix.size());
    }
    return reason;
}

std::string HiveFileDamage(std::string_view path) {
    const HiveImage* image = LoadedFrom(path);
    if (image == nullptr) {
        return {};
    }
    const HiveLoadReport& report = image->LoadReport();
    std::string text = report.damage ? DescribeDamage(report.damage->Counts()) : std::string();
    if (report.check.problem != HiveFileProblem::None) {
        std::string base = report.check.reason;
        if (const size_t at = base.rfind(": /"); at != std::string::npos) {
            base.resize(at);  // the file is named where this is shown
        }
        text = text.empty() ? "damaged: " + base : text + ", " + base;
    }
    return text;
}

}  // namespace hivora
