#include "fileset/FileSetDescription.h"

#include <sys/stat.h>

#include <array>

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

std::string DescribeFileSet(const FileSet& set, const DescribeDate& date, bool fileState) {
    std::string out;
    for (const DescribedSlot& entry : kDescriptionOrder) {
        out += entry.heading;
        out += ":\r\n";
        out += DescribeHiveFile(set[entry.slot], date, fileState);
        out += "\r\n";
    }
    return out;
}

std::string DescribeFileSet() {
    return DescribeFileSet(CurrentFileSet());
}

}  // namespace hivora
