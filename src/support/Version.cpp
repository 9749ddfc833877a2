#include "support/Version.h"

#include <unistd.h>

#include <filesystem>

#include "support/BuildInfo.h"
#include "support/CaseFold.h"

namespace hivora {

namespace {

// Where the install rules put the help pages, relative to the installation prefix.
constexpr const char* kInstalledHelpFolder = "share/hivora/help";

// "Hivora v1.2" plus the third part, shared by the version text and the support subject.
std::string NameAndNumber(const VersionInfo& version) {
    std::string text = version.productName + " v" + std::to_string(version.major) + "." +
                       std::to_string(version.minor);
    if (version.patch != 0) {
        text += std::to_string(version.patch);
    }
    return text;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

VersionInfo ProgramVersion() {
    return VersionInfo{build::kProductName,  build::kVersionMajor, build::kVersionMinor,
                       build::kVersionPatch, build::kBuildNumber,  build::kPrerelease};
}

std::string FormatVersionText(const std::optional<VersionInfo>& version, int form) {
    if (!version) {
        return {};
    }
    if (form == -1) {
        return version->productName;
    }
    std::string text = NameAndNumber(*version);
    if (form == 1) {
        text += "." + std::to_string(version->build);
    } else if (form == 2) {
        text += " build " + std::to_string(version->build);
    }
    if (version->prerelease) {
        text += " BETA";
    }
    return text;
}

std::string GetVersionText(int form) {
    return FormatVersionText(ProgramVersion(), form);
}

std::string GetModulePath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < path.size()) {
            path.resize(static_cast<size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string HelpFilePathFor(std::string_view modulePath, std::string_view name) {
    const size_t slash = modulePath.rfind('/');
    std::string_view folder =
        slash == std::string_view::npos ? std::string_view{} : modulePath.substr(0, slash + 1);
    if (EndsWithNoCase(folder, "/debug/")) {
        folder.remove_suffix(6);
    } else if (EndsWithNoCase(folder, "/release/")) {
        folder.remove_suffix(8);
    }
    return std::string(folder) + std::string(name);
}

std::string FindHelpFile(std::string_view modulePath, std::string_view name) {
    std::string beside = HelpFilePathFor(modulePath, name);
    std::error_code error;
    if (modulePath.empty() || std::filesystem::exists(beside, error)) {
        return beside;
    }
    const std::filesystem::path prefix =
        std::filesystem::path(modulePath).parent_path().parent_path();
    std::string installed = (prefix / kInstalledHelpFolder / name).string();
    return std::filesystem::exists(installed, error) ? installed : beside;
}

std::string HelpFilePath(std::string_view name) {
    return FindHelpFile(GetModulePath(), name);
}

std::string TechSupportSubject(const std::optional<VersionInfo>& version) {
    std::string subject = "Help Request ";
    if (version) {
        subject += NameAndNumber(*version) + " (build " + std::to_string(version->build) + ")";
    }
    return subject;
}

std::string TechSupportAddress(const std::optional<VersionInfo>& version) {
    return kTechSupportAddress + TechSupportSubject(version);
}

}  // namespace hivora
