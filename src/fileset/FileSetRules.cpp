#include "fileset/FileSetRules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "hive/RegistryBackend.h"
#include "support/MyException.h"

namespace hivora {
namespace {

constexpr const char* kSection = "LastFileSet";

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
        if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

struct NameRule {
    HiveSlot slot;
    std::initializer_list<std::string_view> accepted;
    const char* question;
};

// The slots under the name rule and the duplicate rule, in the order they are checked.
const NameRule kNameRules[] = {
    {HiveSlot::System,
     {"system", "system.dat"},
     "You selected %s as a SYSTEM registry file. System registry file must be named SYSTEM. or "
     "SYSTEM.DAT.\r\nAre you sure you want to continue with this non-standard file?"},
    {HiveSlot::NtUser,
     {"ntuser.dat", "user.dat"},
     "You selected %s as a USER registry file. User registry file must be named either "
     "NTUSER.DAT or USER.DAT.\r\nAre you sure you want to continue with this non-standard file?"},
    {HiveSlot::Sam,
     {"sam"},
     "You selected %s as a SAM registry file. SAM registry file must be named SAM.\r\nAre you "
     "sure you want to continue with this non-standard file?"},
    {HiveSlot::Security,
     {"security"},
     "You selected %s as a SECURITY registry file. SECURITY registry file must be named "
     "SECURITY.\r\nAre you sure you want to continue with this non-standard file?"},
    {HiveSlot::Software,
     {"software"},
     "You selected %s as a SOFTWARE registry file. SOFTWARE registry file must be named "
     "SOFTWARE.\r\nAre you sure you want to continue with this non-standard file?"},
};

constexpr HiveSlot kProbeOrder[] = {HiveSlot::System,   HiveSlot::NtUser,    HiveSlot::Sam,
                                    HiveSlot::Security, HiveSlot::Software,  HiveSlot::Bcd,
                                    HiveSlot::Default,  HiveSlot::Components};

std::string Fill(std::string_view pattern, std::string_view value) {
    std::string text(pattern);
    const size_t at = text.find("%s");
    return text.replace(at, 2, value);
}

size_t LastSeparator(std::string_view path) {
    return path.find_last_of("/\\");
}

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

}  // namespace

std::string PathFileName(std::string_view path) {
    const size_t separator = LastSeparator(path);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string PathFileTitle(std::string_view path) {
    std::string name = PathFileName(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.resize(dot);
    }
    return name;
}

bool FileExists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

bool IsStandardFileName(HiveSlot slot, std::string_view path) {
    std::string name = PathFileName(path);
    while (!name.empty() && name.back() == '.') {
        name.pop_back();
    }
    for (const NameRule& rule : kNameRules) {
        if (rule.slot != slot) {
            continue;
        }
        for (std::string_view accepted : rule.accepted) {
            if (EqualsNoCase(name, accepted)) {
                return true;
            }
        }
    }
    return false;
}

void ProbeFileSharing(const std::string& path, bool /*withNote*/) {
    // Linux has no share modes, so a hive held open by a running system can't be told apart
    // here: the probe checks that the file opens for reading and is not a folder.
    if (path.empty()) {
        return;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw FileError("Unable to open " + path + ": " + std::strerror(errno));
    }
    struct stat info {};
    const bool folder = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    ::close(fd);
    if (folder) {
        throw FileError("Unable to open " + path + ": " + std::strerror(EISDIR));
    }
}

bool ValidateChosenFiles(const std::array<std::string, kHiveSlotCount>& names, UserPrompt& prompt) {
    const auto name = [&](HiveSlot slot) -> const std::string& {
        return names[static_cast<size_t>(slot)];
    };
    bool any = false;
    for (const std::string& n : names) {
        any = any || !n.empty();
    }
    if (!any) {
        ThrowError("Please specify at least one file!");
    }
    constexpr size_t kRuled = std::size(kNameRules);
    for (size_t i = 0; i < kRuled; ++i) {
        const std::string& earlier = name(kNameRules[i].slot);
        if (earlier.empty()) {
            continue;
        }
        for (size_t j = i + 1; j < kRuled; ++j) {
            if (EqualsNoCase(earlier, name(kNameRules[j].slot))) {
                ThrowError("Duplicated file names are not allowed!");
            }
        }
    }
    for (const NameRule& rule : kNameRules) {
        const std::string& n = name(rule.slot);
        if (!n.empty() && !IsStandardFileName(rule.slot, n) &&
            !prompt.AskYesNo(Fill(rule.question, n))) {
            return false;
        }
    }
    for (HiveSlot slot : kProbeOrder) {
        ProbeFileSharing(name(slot), true);
    }
    return true;
}

bool ConfirmFileSet(const FileSet& set, UserPrompt& prompt, SettingsStore& settings) {
    UseHiveEngine();
    unsigned chosen = 0;
    unsigned good = 0;
    unsigned failed = 0;
    std::string problems;
    std::string goodNames;
    for (HiveSlot slot : kFileSetList) {
        const std::string& name = set[slot];
        if (name.empty()) {
            continue;
        }
        ++chosen;
        try {
            ProbeFileSharing(name, false);
            ++good;
            if (!goodNames.empty()) {
                goodNames += ", ";
            }
            goodNames += PathFileTitle(name);
        } catch (const CMyException& error) {
            ++failed;
            problems += error.GetErrorMessage() + "\r\n";
        }
    }
    if (chosen == 0) {
        ThrowError("At least one file must be specified in order to continue");
    }
    if (good == 0) {
        prompt.ShowNotice("Unable to continue: there are problems with all " +
                          std::to_string(failed) + " selected file!\r\n" + problems);
        return false;
    }
    if (failed != 0 &&
        !prompt.AskYesNo(std::to_string(failed) +
                         " selected file(s) caused the following "
                         "problems:\r\n" +
                         problems + "\r\n\r\nWould you like to continue with the remaining " +
                         std::to_string(good) + " file(s) (" + goodNames + ")?")) {
        return false;
    }
    SaveLastFileSet(set, settings);
    return true;
}

void SaveLastFileSet(const FileSet& set, SettingsStore& settings) {
    for (size_t i = 0; i < kFileSetList.size(); ++i) {
        settings.WriteProfileString(kSection, std::to_string(i), set[kFileSetList[i]]);
    }
}

bool HasLastFileSet(const SettingsStore& settings) {
    for (size_t i = 0; i < kFileSetList.size(); ++i) {
        if (!settings.GetProfileString(kSection, std::to_string(i)).empty()) {
            return true;
        }
    }
    return false;
}

void RestoreLastFileSet(FileSet& set, const SettingsStore& settings) {
    bool cleared = false;
    for (size_t i = 0; i < kFileSetList.size(); ++i) {
        std::string name = settings.GetProfileString(kSection, std::to_string(i));
        if (name.empty()) {
            continue;
        }
        if (!cleared) {
            ClearFileSet(set);
            cleared = true;
        }
        set[kFileSetList[i]] = std::move(name);
    }
}

void ClearFileSet(FileSet& set) {
    for (std::string& name : set.names) {
        name.clear();
    }
}

void ScanHiveFolder(FileSet& set, FolderPicker& picker) {
    const std::string folder = picker.BrowseForFolder(
        "Select Folder that Contains Registry Files (%SysRoot%\\System32\\Config)");
    if (folder.empty()) {
        return;
    }
    FileSet filled = set;
    if (FillFromHiveFolder(filled, WithTrailingSeparator(folder)) == 0) {
        ThrowError("No suitable files were found in the specified directory");
    }
    set = filled;
}

void ScanUserFolder(FileSet& set, FolderPicker& picker) {
    const std::string folder =
        picker.BrowseForFolder("Select Folder that Contains NTUSER.dat (User's profile folder)");
    if (folder.empty()) {
        return;
    }
    if (!FillFromUserFolder(set, WithTrailingSeparator(folder))) {
        ThrowError("NTUSER.DAT does not exist in the specified folder");
    }
}

}  // namespace hivora
