#include "fileset/FileSet.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "support/TextConvert.h"

namespace hivora {
namespace {

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    path.append(name);
    return path;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool FileSet::Empty() const {
    return std::all_of(names.begin(), names.end(), [](const std::string& n) { return n.empty(); });
}

FileSet& CurrentFileSet() {
    static FileSet set;
    return set;
}

std::string_view SlotDisplayName(HiveSlot slot) {
    switch (slot) {
        case HiveSlot::System: return "System";
        case HiveSlot::NtUser: return "NTUser";
        case HiveSlot::Software: return "Software";
        case HiveSlot::Sam: return "SAM";
        case HiveSlot::Security: return "Security";
        case HiveSlot::Default: return ".Default";
        case HiveSlot::Components: return "Components";
        case HiveSlot::Bcd: return "BCD-Template";
    }
    return {};
}

std::optional<HiveSlot> SlotForFileName(std::string_view fileName) {
    while (!fileName.empty() && fileName.back() == '.') {
        fileName.remove_suffix(1);
    }
    struct Name {
        std::string_view text;
        HiveSlot slot;
    };
    static constexpr Name kNames[] = {
        {"system", HiveSlot::System},       {"system.dat", HiveSlot::System},
        {"ntuser.dat", HiveSlot::NtUser},   {"user.dat", HiveSlot::NtUser},
        {"software", HiveSlot::Software},   {"sam", HiveSlot::Sam},
        {"security", HiveSlot::Security},   {"default", HiveSlot::Default},
        {"components", HiveSlot::Components}, {"bcd-template", HiveSlot::Bcd}};
    for (const Name& name : kNames) {
        if (EqualsAsciiNoCase(fileName, name.text)) {
            return name.slot;
        }
    }
    return std::nullopt;
}

std::string FindFileIgnoringCase(std::string_view folder, std::string_view name) {
    const std::string exact = JoinPath(folder, name);
    if (IsRegularFile(exact)) {
        return exact;
    }
    std::string found;
    if (DIR* dir = ::opendir(std::string(folder.empty() ? "." : folder).c_str())) {
        std::string best;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view entryName(entry->d_name);
            if (EqualsAsciiNoCase(entryName, name) && IsRegularFile(JoinPath(folder, entryName))) {
                // Several spellings: take the first in byte order, so the choice is stable.
                if (best.empty() || entryName < best) {
                    best = std::string(entryName);
                }
            }
        }
        ::closedir(dir);
        if (!best.empty()) {
            found = JoinPath(folder, best);
        }
    }
    return found;
}

int FillFromHiveFolder(FileSet& set, std::string_view folder) {
    int found = 0;
    std::string system = FindFileIgnoringCase(folder, "system");
    if (system.empty()) {
        system = FindFileIgnoringCase(folder, "system.dat");
    }
    if (!system.empty()) {
        set[HiveSlot::System] = system;
        ++found;
    }
    struct Scan {
        HiveSlot slot;
        std::string_view name;
    };
    static constexpr Scan kScans[] = {{HiveSlot::Software, "software"},
                                      {HiveSlot::Sam, "sam"},
                                      {HiveSlot::Security, "security"},
                                      {HiveSlot::Default, "default"},
                                      {HiveSlot::Components, "components"},
                                      {HiveSlot::Bcd, "bcd-template"}};
    for (const Scan& scan : kScans) {
        std::string path = FindFileIgnoringCase(folder, scan.name);
        if (!path.empty()) {
            set[scan.slot] = std::move(path);
            ++found;
        }
    }
    return found;
}

bool FillFromUserFolder(FileSet& set, std::string_view folder) {
    std::string path = FindFileIgnoringCase(folder, "ntuser.dat");
    if (path.empty()) {
        path = FindFileIgnoringCase(folder, "user.dat");
    }
    if (path.empty()) {
        return false;
    }
    set[HiveSlot::NtUser] = std::move(path);
    return true;
}

void MakeNamesAbsolute(FileSet& set) {
    for (std::string& name : set.names) {
        if (name.empty() || name.front() == '/') {
            continue;
        }
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(name, error);
        if (!error) {
            name = absolute.lexically_normal().string();
        }
    }
}

int LoadFileSet(const FileSet& set) {
    std::array<std::u16string, kHiveSlotCount> wide;
    for (size_t i = 0; i < wide.size(); ++i) {
        wide[i] = ToUtf16(set.names[i]);
    }
    return LoadHiveSet(wide[0].c_str(), wide[1].c_str(), wide[2].c_str(), wide[3].c_str(),
                       wide[4].c_str(), wide[5].c_str(), wide[6].c_str(), wide[7].c_str(),
                       LoadOptions{.applyLogs = set.applyLogs});
}

}  // namespace hivora
