#include "fileset/ui/FileSetRules.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>

#include "hive/RegistryBackend.h"
#include "support/MyException.h"
#include "support/TextConvert.h"

namespace hivora::ui {
namespace {

constexpr std::string_view kLastFileSet = "LastFileSet";
constexpr std::string_view kComboSection = "SVCOMBOS";
constexpr unsigned kHistorySize = 16;

std::u32string Folded(std::string_view text) {
    std::u32string folded;
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t c = DecodeUtf8(text, pos);
        if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            c += 0x20;
        }
        folded += c;
    }
    return folded;
}

std::string FileNamePart(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FileTitle(std::string_view path) {
    std::string name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string Replace(std::string text, std::string_view what, std::string_view with) {
    const size_t pos = text.find(what);
    if (pos != std::string::npos) {
        text.replace(pos, what.size(), with);
    }
    return text;
}

std::string DescribeHiveFile(const std::string& name) {
    std::string text = "    ";
    if (name.empty()) {
        return text + "<NOT SELECTED>";
    }
    text += name;
    struct stat info {};
    if (stat(name.c_str(), &info) == 0) {
        struct tm local {};
        char when[128] = "";
        if (localtime_r(&info.st_mtime, &local) != nullptr) {
            strftime(when, sizeof when, "%x %X", &local);
        }
        text += "\r\n    (" + FormatThousands(static_cast<long long>(info.st_size), ',') +
                " bytes, last modified on " + when + ")";
    }
    return text;
}

}  // namespace

bool HistoryLess(const std::string& a, const std::string& b) {
    return Folded(a) < Folded(b);
}

bool HistoryEqual(const std::string& a, const std::string& b) {
    return Folded(a) == Folded(b);
}

bool IsStandardFileName(HiveSlot slot, std::string_view path) {
    std::string name = FileNamePart(path);
    while (!name.empty() && name.back() == '.') {
        name.pop_back();
    }
    std::vector<std::string_view> accepted;
    switch (slot) {
        case HiveSlot::System:
            accepted = {"system", "system.dat"};
            break;
        case HiveSlot::NtUser:
            accepted = {"ntuser.dat", "user.dat"};
            break;
        case HiveSlot::Sam:
            accepted = {"sam"};
            break;
        case HiveSlot::Security:
            accepted = {"security"};
            break;
        case HiveSlot::Software:
            accepted = {"software"};
            break;
        default:
            return true;
    }
    const std::u32string folded = Folded(name);
    return std::any_of(accepted.begin(), accepted.end(),
                       [&](std::string_view candidate) { return folded == Folded(candidate); });
}

void ProbeFile(const std::string& path) {
    if (path.empty()) {
        return;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw FileError("Unable to open " + path + ": " + std::strerror(errno));
    }
    struct stat info {};
    const bool isFolder = fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
    std::fclose(file);
    if (isFolder) {
        throw FileError("Unable to open " + path + ": " + std::strerror(EISDIR));
    }
}

bool ValidateChosenFiles(const FileSet& names, Prompter& prompter) {
    if (names.Empty()) {
        ThrowError("Please specify at least one file!");
    }
    static constexpr HiveSlot kChecked[] = {HiveSlot::System, HiveSlot::NtUser, HiveSlot::Sam,
                                            HiveSlot::Security, HiveSlot::Software};
    for (size_t i = 0; i < std::size(kChecked); ++i) {
        const std::string& earlier = names[kChecked[i]];
        if (earlier.empty()) {
            continue;
        }
        for (size_t j = i + 1; j < std::size(kChecked); ++j) {
            if (HistoryEqual(earlier, names[kChecked[j]])) {
                ThrowError("Duplicated file names are not allowed!");
            }
        }
    }
    struct Question {
        HiveSlot slot;
        const char* text;
    };
    static constexpr Question kQuestions[] = {
        {HiveSlot::System,
         "You selected %s as a SYSTEM registry file. System registry file must be named "
         "SYSTEM. or SYSTEM.DAT.\r\nAre you sure you want to continue with this non-standard "
         "file?"},
        {HiveSlot::NtUser,
         "You selected %s as a USER registry file. User registry file must be named either "
         "NTUSER.DAT or USER.DAT.\r\nAre you sure you want to continue with this non-standard "
         "file?"},
        {HiveSlot::Sam,
         "You selected %s as a SAM registry file. SAM registry file must be named SAM.\r\nAre "
         "you sure you want to continue with this non-standard file?"},
        {HiveSlot::Security,
         "You selected %s as a SECURITY registry file. SECURITY registry file must be named "
         "SECURITY.\r\nAre you sure you want to continue with this non-standard file?"},
        {HiveSlot::Software,
         "You selected %s as a SOFTWARE registry file. SOFTWARE registry file must be named "
         "SOFTWARE.\r\nAre you sure you want to continue with this non-standard file?"},
    };
    for (const Question& question : kQuestions) {
        const std::string& name = names[question.slot];
        if (!name.empty() && !IsStandardFileName(question.slot, name) &&
            !prompter.AskYesNo(Replace(question.text, "%s", name))) {
            return false;
        }
    }
    static constexpr HiveSlot kProbed[] = {HiveSlot::System,   HiveSlot::NtUser,    HiveSlot::Sam,
                                           HiveSlot::Security, HiveSlot::Software,  HiveSlot::Bcd,
                                           HiveSlot::Default,  HiveSlot::Components};
    for (HiveSlot slot : kProbed) {
        ProbeFile(names[slot]);
    }
    return true;
}

bool ConfirmFileSet(Prompter& prompter, SettingsStore& settings) {
    UseHiveEngine();
    const FileSet& set = CurrentFileSet();
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
            ProbeFile(name);
            ++good;
            if (!goodNames.empty()) {
                goodNames += ", ";
            }
            goodNames += FileTitle(name);
        } catch (const CMyException& error) {
            ++failed;
            problems += error.GetErrorMessage() + "\r\n";
        }
    }
    if (chosen == 0) {
        ThrowError("At least one file must be specified in order to continue");
    }
    if (good == 0) {
        prompter.Notify("Unable to continue: there are problems with all " +
                        std::to_string(failed) + " selected file!\r\n" + problems);
        return false;
    }
    if (failed != 0 &&
        !prompter.AskYesNo(std::to_string(failed) +
                           " selected file(s) caused the following problems:\r\n" + problems +
                           "\r\n\r\nWould you like to continue with the remaining " +
                           std::to_string(good) + " file(s) (" + goodNames + ")?")) {
        return false;
    }
    SaveLastFileSet(set, settings);
    return true;
}

void SaveLastFileSet(const FileSet& set, SettingsStore& settings) {
    for (size_t i = 0; i < kFileSetList.size(); ++i) {
        settings.WriteProfileString(kLastFileSet, std::to_string(i), set[kFileSetList[i]]);
    }
}

bool HasLastFileSet(const SettingsStore& settings) {
    for (size_t i = 0; i < kFileSetList.size(); ++i) {
        if (!settings.GetProfileString(kLastFileSet, std::to_string(i)).empty()) {
            return true;
        }
    }
    return false;
}

void RestoreLastFileSet(FileSet& set, const SettingsStore& settings) {
    bool cleared = false;
    for (size_t i = 0; i < kFileSetList.size(); ++i) {
        std::string name = settings.GetProfileString(kLastFileSet, std::to_string(i));
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

void ScanHiveFolder(FileSet& set, const FolderPicker& pickFolder) {
    const std::string folder =
        pickFolder("Select Folder that Contains Registry Files (%SysRoot%\\System32\\Config)");
    if (folder.empty()) {
        return;
    }
    FileSet filled = set;
    if (FillFromHiveFolder(filled, WithSlash(folder)) == 0) {
        ThrowError("No suitable files were found in the specified directory");
    }
    set = std::move(filled);
}

void ScanUserFolder(FileSet& set, const FolderPicker& pickFolder) {
    const std::string folder =
        pickFolder("Select Folder that Contains NTUSER.dat (User's profile folder)");
    if (folder.empty()) {
        return;
    }
    if (!FillFromUserFolder(set, WithSlash(folder))) {
        ThrowError("NTUSER.DAT does not exist in the specified folder");
    }
}

std::string FormatThousands(long long value, char separator) {
    const bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return negative ? "-" + grouped : grouped;
}

std::string DescribeFileSet(const FileSet& set) {
    static constexpr std::pair<const char*, HiveSlot> kBlocks[] = {
        {"SYSTEM", HiveSlot::System},     {"SOFTWARE", HiveSlot::Software},
        {"SECURITY", HiveSlot::Security}, {"SAM", HiveSlot::Sam},
        {"BCD", HiveSlot::Bcd},           {"COMPONENTS", HiveSlot::Components},
        {"DEFAULT", HiveSlot::Default},   {"USER", HiveSlot::NtUser}};
    std::string text;
    for (const auto& [label, slot] : kBlocks) {
        text += label;
        text += ":\r\n" + DescribeHiveFile(set[slot]) + "\r\n";
    }
    return text;
}

ComboHistory LoadComboHistory(const SettingsStore& settings, std::string_view prefix) {
    ComboHistory history;
    char entry[64];
    for (unsigned index = 0; index < kHistorySize; ++index) {
        std::snprintf(entry, sizeof entry, "%.*s%03u", static_cast<int>(prefix.size()),
                      prefix.data(), index);
        std::string value = settings.GetProfileString(kComboSection, entry);
        if (index == 0) {
            history.text = value;
        }
        if (!value.empty()) {
            history.items.push_back(std::move(value));
        }
    }
    std::stable_sort(history.items.begin(), history.items.end(), HistoryLess);
    return history;
}

void SaveComboHistory(SettingsStore& settings, std::string_view prefix, const std::string& text,
                      const std::vector<std::string>& items) {
    char entry[64];
    auto name = [&](unsigned index) {
        std::snprintf(entry, sizeof entry, "%.*s%03u", static_cast<int>(prefix.size()),
                      prefix.data(), index);
        return std::string_view(entry);
    };
    for (unsigned index = 0; index < kHistorySize; ++index) {
        settings.WriteProfileString(kComboSection, name(index), "");
    }
    settings.WriteProfileString(kComboSection, name(0), text);
    unsigned next = 1;
    for (size_t i = 0; i < items.size() && i < kHistorySize - 1; ++i) {
        if (HistoryEqual(items[i], text)) {
            continue;
        }
        settings.WriteProfileString(kComboSection, name(next++), items[i]);
    }
}

}  // namespace hivora::ui
