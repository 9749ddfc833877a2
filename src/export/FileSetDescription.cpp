#include "export/FileSetDescription.h"

#include <sys/stat.h>

#include <array>
#include <ctime>

#include "export/RegistryCounters.h"

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

constexpr int64_t kFileTimeUnixEpoch = 116444736000000000LL;  // 1970-01-01 in 100 ns units

}  // namespace

std::string FormatUnixDateTime(std::int64_t unixSeconds) {
    const std::time_t seconds = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    char text[128];
    const size_t length = std::strftime(text, sizeof text, "%x %X", &local);
    return std::string(text, length);
}

std::string FormatExportDateTime(FileTime time) {
    const int64_t seconds = (static_cast<int64_t>(time / 10000000) - kFileTimeUnixEpoch / 10000000);
    return FormatUnixDateTime(seconds);
}

std::string DescribeHiveFile(std::string_view name) {
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
               FormatUnixDateTime(static_cast<int64_t>(status.st_mtime)) + ")";
    }
    return out;
}

std::string DescribeFileSet(const FileSet& set) {
    std::string out;
    for (const DescribedSlot& entry : kDescriptionOrder) {
        out += entry.heading;
        out += ":\r\n";
        out += DescribeHiveFile(set[entry.slot]);
        out += "\r\n";
    }
    return out;
}

std::string DescribeFileSet() {
    return DescribeFileSet(CurrentFileSet());
}

}  // namespace hivora
