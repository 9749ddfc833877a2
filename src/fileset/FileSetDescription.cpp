#include "fileset/FileSetDescription.h"

#include <sys/stat.h>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <vector>

#include "hive/HiveLayout.h"
#include "hive/TransactionLogFiles.h"

#include "fileset/HiveFileState.h"
#include "support/FileTimeFormat.h"
#include "support/ThousandsFormat.h"

namespace hivora {
namespace {

struct DescribedSlot {
    std::string_view heading;
    HiveSlot slot;
};

// Not the slot order: the description lists the machine hives first and the user's last.
constexpr std::array<DescribedSlot, kHiveSlotCount> kDescriptionOrder = {{
    {"SYSTEM", HiveSlot::System},
    {"SOFTWARE", HiveSlot::Software},
    {"SECURITY", HiveSlot::Security},
    {"SAM", HiveSlot::Sam},
    {"BCD", HiveSlot::Bcd},
    {"COMPONENTS", HiveSlot::Components},
    {"DEFAULT", HiveSlot::Default},
    {"USER", HiveSlot::NtUser},
}};

}  // namespace

std::string DescribeHiveFile(std::string_view name, const DescribeDate& date, bool fileState) {
    std::string out = "    ";
    if (name.empty()) {
        out += "<NOT SELECTED>";
        return out;
    }
    out += name;
    struct stat status {};
    if (::stat(std::string(name).c_str(), &status) == 0) {
        out += "\r\n    (" + FormatThousandsUnsigned(static_cast<uint64_t>(status.st_size)) +
               " bytes, last modified on " +
               (date ? date(status.st_mtime) : FormatLocalTimeT(status.st_mtime)) + ")";
        if (!fileState) {
            return out;
        }
        if (const std::string refusal = HiveRefusal(name); !refusal.empty()) {
            out += "\r\n    (not loaded: " + refusal + ")";
        } else if (const std::string damage = HiveFileDamage(name); !damage.empty()) {
            out += "\r\n    (" + damage + ")";
        }
    }
    return out;
}

std::string DescribeLogReplay(const LogReplayReport& replay) {
    using State = LogReplayReport::State;
    if (replay.state == State::NotApplied) {
        return "    dirty, logs not applied: " + replay.reason;
    }
    if (replay.state != State::Applied) {
        return {};
    }
    std::string out = fmt::format("    dirty, logs applied: {} {}, sequence numbers {} to {} ({})",
                                  replay.entries, replay.entries == 1 ? "entry" : "entries",
                                  replay.fromSequence, replay.toSequence,
                                  fmt::join(replay.logFiles, ", "));
    if (replay.baseBlockRecovered) {
        out += ", base block recovered from the logs";
    }
    if (!replay.reason.empty()) {
        out += "; stopped early: " + replay.reason;
    }
    return out;
}

std::string DescribeLogsOnDisk(const std::string& name) {
    std::vector<uint8_t> head(static_cast<size_t>(layout::kBaseBlockSize));
    std::ifstream file(name, std::ios::binary);
    file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    const bool isHive = head.size() >= 4 && std::memcmp(head.data(), "regf", 4) == 0;
    if (!isHive || !IsHiveDirty(head)) {
        return {};
    }
    std::vector<std::string> logs;
    for (const auto& log : FindTransactionLogs(name)) {
        logs.push_back(log.filename().string());
    }
    return logs.empty() ? "    dirty; no logs found"
                        : fmt::format("    dirty; logs found: {}", fmt::join(logs, ", "));
}

bool SomeHiveReplayedFromLogs() {
    for (HiveSlot slot : kSlotOrder) {
        const HiveImage* image = HiveInSlot(slot);
        if (image != nullptr && image->LoadReport().logReplay != nullptr &&
            image->LoadReport().logReplay->state == LogReplayReport::State::Applied) {
            return true;
        }
    }
    return false;
}

std::string DescribeFileSet(const FileSet& set, const DescribeDate& date, bool fileState) {
    std::string out;
    for (const DescribedSlot& entry : kDescriptionOrder) {
        out += entry.heading;
        out += ":\r\n";
        out += DescribeHiveFile(set[entry.slot], date, fileState);
        out += "\r\n";
        if (set[entry.slot].empty()) {
            continue;
        }
        // Only the image loaded from this very file speaks for it; loaded without logs, the
        // entry stays as it always was.
        const HiveImage* image = HiveInSlot(entry.slot);
        std::string state;
        if (image != nullptr && image->LoadReport().path == set[entry.slot]) {
            if (image->LoadReport().logReplay != nullptr) {
                state = DescribeLogReplay(*image->LoadReport().logReplay);
            }
        } else {
            state = DescribeLogsOnDisk(set[entry.slot]);
        }
        if (!state.empty()) {
            out += state + "\r\n";
        }
    }
    return out;
}

std::string DescribeFileSet() {
    return DescribeFileSet(CurrentFileSet());
}

}  // namespace hivora
