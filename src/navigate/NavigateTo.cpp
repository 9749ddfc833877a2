#include "navigate/NavigateTo.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/RegistryReader.h"
#include "support/CaseFold.h"

namespace hivora {
namespace {

// The buffer a Windows path is expanded into holds this many characters with the terminator.
constexpr size_t kMaxPath = 260;

OpenInExplorerHook& ExplorerHook() {
    static OpenInExplorerHook hook;
    return hook;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    path.append(name);
    return path;
}

// The entry of `folder` named `name` ignoring case (the exact spelling first; among several
// others the first in byte order, so that the choice is stable).
std::optional<std::string> FindEntry(const std::string& folder, std::string_view name) {
    std::string exact = Join(folder, name);
    if (Exists(exact)) {
        return exact;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::string best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view entryName(entry->d_name);
        if (EqualsNoCase(entryName, name) && (best.empty() || entryName < best)) {
            best = std::string(entryName);
        }
    }
    ::closedir(dir);
    if (best.empty()) {
        return std::nullopt;
    }
    return Join(folder, best);
}

// <root> when `file` lies at <root>/Windows/System32/config/<file>, any letter case.
std::optional<std::string> RootOfConfigFile(const std::string& file) {
    std::string path = file;
    static constexpr std::array<std::string_view, 3> kFolders = {"config", "System32", "Windows"};
    for (std::string_view folder : kFolders) {
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos) {
            return std::nullopt;
        }
        path.resize(slash);
        const size_t parent = path.rfind('/');
        const std::string_view last =
            std::string_view(path).substr(parent == std::string::npos ? 0 : parent + 1);
        if (!EqualsNoCase(last, folder)) {
            return std::nullopt;
        }
    }
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return std::string(".");
    }
    path.resize(slash);
    return path.empty() ? std::string("/") : path;
}

struct Variable {
    std::string_view name;
    std::string_view value;
};
constexpr Variable kVariables[] = {
    {"SystemRoot", "C:\\Windows"},
    {"windir", "C:\\Windows"},
    {"SystemDrive", "C:"},
    {"ProgramFiles", "C:\\Program Files"},
    {"ProgramW6432", "C:\\Program Files"},
    {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
    {"ProgramData", "C:\\ProgramData"},
    {"ALLUSERSPROFILE", "C:\\ProgramData"},
    {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
    {"CommonProgramW6432", "C:\\Program Files\\Common Files"},
    {"CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files"},
};

// Replaces the %NAME% references this machine can answer for the Windows installation; others
// stay as they are, as the platform's expansion leaves unknown names.
std::string ExpandVariables(std::string_view text) {
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t open = text.find('%', pos);
        if (open == std::string_view::npos) {
            break;
        }
        const size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        out.append(text.substr(pos, open - pos));
        const std::string_view name = text.substr(open + 1, close - open - 1);
        const auto known =
            std::find_if(std::begin(kVariables), std::end(kVariables),
                         [&](const Variable& v) { return EqualsNoCase(v.name, name); });
        if (known != std::end(kVariables)) {
            out.append(known->value);
            pos = close + 1;
        } else {
            out.append(text.substr(open, close - open));
            pos = close;  // the closing % may open the next reference
        }
    }
    out.append(text.substr(pos));
    return out;
}

// A C: path below `root`, each component matched ignoring case. "." and ".." are taken
// lexically and never climb above the drive, so hive data cannot name a host file outside it.
std::optional<std::string> MapOntoRoot(const std::string& root, std::string_view windowsPath) {
    if (windowsPath.size() < 2 || FoldAscii(windowsPath[0]) != 'c' || windowsPath[1] != ':') {
        return std::nullopt;
    }
    std::vector<std::string_view> parts;
    size_t pos = 2;
    while (pos <= windowsPath.size()) {
        size_t end = windowsPath.find_first_of("\\/", pos);
        if (end == std::string_view::npos) {
            end = windowsPath.size();
        }
        const std::string_view part = windowsPath.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    std::string path = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 && !IsFolder(path)) {
            return std::nullopt;
        }
        std::optional<std::string> next = FindEntry(path, parts[i]);
        if (!next) {
            return std::nullopt;
        }
        path = std::move(*next);
    }
    if (!Exists(path)) {
        return std::nullopt;
    }
    return path;
}

bool KeyExists(const std::string& path) {
    return static_cast<bool>(OpenRegKey(kLocalMachine, path));
}

}  // namespace

std::string WindowsRootFolder() {
    const FileSet& set = CurrentFileSet();
    for (HiveSlot slot : {HiveSlot::System, HiveSlot::Software}) {
        if (set[slot].empty() || HiveInSlot(slot) == nullptr) {
            continue;
        }
        if (std::optional<std::string> root = RootOfConfigFile(set[slot])) {
            return *root;
        }
    }
    return {};
}

bool ResolveFilePath(std::string_view text, std::string& path) {
    if (text.size() <= 4) {
        return false;
    }
    std::string_view work = text;
    while (!work.empty() && work.front() == '@') {
        work.remove_prefix(1);
    }
    if (!work.empty() && work.front() == '"') {
        work.remove_prefix(1);
        work = work.substr(0, work.find('"'));
    }
    work = work.substr(0, work.find(','));
    const bool drivePath = work.size() >= 3 && work[1] == ':' && work[2] == '\\';
    if (!drivePath && (work.empty() || work.front() != '%')) {
        return false;
    }
    const std::string expanded = ExpandVariables(work);
    if (expanded.size() >= kMaxPath) {
        return false;  // the expansion would not fit the path buffer
    }
    const std::string root = WindowsRootFolder();
    if (root.empty()) {
        return false;
    }
    std::optional<std::string> mapped = MapOntoRoot(root, expanded);
    if (!mapped) {
        return false;
    }
    path = std::move(*mapped);
    return true;
}

bool ResolveClassKey(std::string_view text, std::string& keyPath) {
    const bool bracedId = text.size() >= 38 && text[0] == '{' && text[37] == '}' &&
                          text[9] == '-' && text[14] == '-' && text[19] == '-' && text[24] == '-';
    if (bracedId) {
        text = text.substr(0, 38);
        static constexpr std::string_view kPrefixes[] = {"Software\\Classes\\CLSID\\",
                                                         "Software\\Classes\\Interface\\",
                                                         "Software\\Classes\\Typelib\\"};
        for (std::string_view prefix : kPrefixes) {
            std::string candidate = std::string(prefix) + std::string(text);
            if (KeyExists(candidate)) {
                keyPath = std::move(candidate);
                return true;
            }
        }
    }
    const auto stops = std::count(text.begin(), text.end(), '.');
    if (stops >= 1 && stops <= 3) {
        std::string candidate = "Software\\Classes\\" + std::string(text);
        if (KeyExists(candidate)) {
            keyPath = std::move(candidate);
            return true;
        }
    }
    return false;
}

NavigationTarget ResolveNavigationTarget(std::string_view dataText) {
    NavigationTarget target;
    if (ResolveFilePath(dataText, target.target)) {
        target.kind = NavigationTarget::Kind::File;
    } else if (ResolveClassKey(dataText, target.target)) {
        target.kind = NavigationTarget::Kind::Key;
    } else {
        target.target.clear();
    }
    return target;
}

void OpenInExplorer(const std::string& path) {
    if (const OpenInExplorerHook& hook = ExplorerHook()) {
        hook(path);
    }
}

void SetOpenInExplorerHook(OpenInExplorerHook hook) {
    ExplorerHook() = std::move(hook);
}

}  // namespace hivora
