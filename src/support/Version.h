// The program's version texts, where its files lie, and the addresses of its web pages.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hivora {

struct VersionInfo {
    std::string productName;
    int major = 0;
    int minor = 0;
    int patch = 0;
    int build = 0;
    bool prerelease = false;
};

// The version this program was built with.
VersionInfo ProgramVersion();

// Forms: -1 the product name alone; 0 "Hivora v1.2" (the third part follows the minor number
// without a dot when it is not 0: v2.51 for 2.5.1); 1 adds ".<build>"; 2 adds
// " build <build>". Forms 0, 1 and 2 end in " BETA" for a pre-release. Without version
// information the text is empty.
std::string FormatVersionText(const std::optional<VersionInfo>& version, int form);
std::string GetVersionText(int form);

// The full path of the running program, or empty when it cannot be read.
std::string GetModulePath();

// `name` in the folder of `modulePath`; a program in a folder named debug or release (any
// letter case) looks in the folder above it, as a program started from a build folder.
std::string HelpFilePathFor(std::string_view modulePath, std::string_view name);
// The file beside the program (HelpFilePathFor) when it is there, else the one among the
// installed help pages when that is there (<prefix>/bin/hivora finds them in
// <prefix>/share/hivora/help), else the path beside the program.
std::string FindHelpFile(std::string_view modulePath, std::string_view name);
std::string HelpFilePath(std::string_view name);

inline constexpr const char* kHelpFileName = "index.htm";

// The product's web page, and the support request page whose query takes the subject.
inline constexpr const char* kProductPageAddress = "https://www.quenwick.example/hivora/";
inline constexpr const char* kTechSupportAddress =
    "https://www.quenwick.example/hivora/techSupport.asp?subject=";

// "Help Request Hivora v1.0 (build 7)", or "Help Request " alone without version information.
std::string TechSupportSubject(const std::optional<VersionInfo>& version);
// The support request address with the subject filled in as it is.
std::string TechSupportAddress(const std::optional<VersionInfo>& version);

}  // namespace hivora
