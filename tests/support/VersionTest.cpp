#include "support/Version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/BuildInfo.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

TEST(VersionText, FormsWithAndWithoutPrerelease) {
    VersionInfo version{"Hivora", 2, 5, 1, 37, false};
    struct Row {
        int form;
        const char* release;
        const char* beta;
    };
    const Row rows[] = {
        {-1, "Hivora", "Hivora"},
        {0, "Hivora v2.51", "Hivora v2.51 BETA"},
        {1, "Hivora v2.51.37", "Hivora v2.51.37 BETA"},
        {2, "Hivora v2.51 build 37", "Hivora v2.51 build 37 BETA"},
    };
    for (const Row& row : rows) {
        version.prerelease = false;
        EXPECT_EQ(FormatVersionText(version, row.form), row.release);
        version.prerelease = true;
        EXPECT_EQ(FormatVersionText(version, row.form), row.beta);
    }
    version = {"Hivora", 2, 5, 0, 37, false};
    EXPECT_EQ(FormatVersionText(version, 0), "Hivora v2.5");
    EXPECT_EQ(FormatVersionText(std::nullopt, 0), "");
    EXPECT_EQ(FormatVersionText(std::nullopt, -1), "");

    EXPECT_EQ(GetVersionText(-1), "Hivora");
    EXPECT_EQ(GetVersionText(2).find("Hivora v"), 0u);
}

TEST(VersionText, TechSupportSubject) {
    const VersionInfo version{"Hivora", 1, 0, 3, 12, true};
    EXPECT_EQ(TechSupportSubject(version), "Help Request Hivora v1.03 (build 12)");
    EXPECT_EQ(TechSupportSubject(std::nullopt), "Help Request ");
    EXPECT_EQ(TechSupportAddress(std::nullopt), std::string(kTechSupportAddress) + "Help Request ");
}

TEST(HelpFile, BuildFoldersLookOneFolderUp) {
    struct Row {
        const char* module;
        const char* help;
    };
    const Row rows[] = {
        {"/opt/hivora/hivora", "/opt/hivora/index.htm"},
        {"/src/hivora/Release/hivora", "/src/hivora/index.htm"},
        {"/src/hivora/DEBUG/hivora", "/src/hivora/index.htm"},
        {"/src/hivora/debug2/hivora", "/src/hivora/debug2/index.htm"},
        {"/src/myrelease/hivora", "/src/myrelease/index.htm"},
        {"", "index.htm"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HelpFilePathFor(row.module, "index.htm"), row.help) << row.module;
    }
    EXPECT_EQ(GetModulePath().substr(GetModulePath().rfind('/') + 1), "hivora_tests");
}

TEST(HelpFile, InstalledProgramFindsPagesUnderShare) {
    namespace fs = std::filesystem;
    const fs::path prefix = test::UniqueTempPath("help_prefix");
    const std::string program = (prefix / "bin" / "hivora").string();
    const std::string beside = (prefix / "bin" / "index.htm").string();
    const std::string installed = (prefix / "share" / "hivora" / "help" / "index.htm").string();
    auto create = [](const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "<html></html>";
    };

    EXPECT_EQ(FindHelpFile(program, "index.htm"), beside) << "nothing installed";
    create(installed);
    EXPECT_EQ(FindHelpFile(program, "index.htm"), installed);
    EXPECT_EQ(FindHelpFile(program, "other.htm"), (prefix / "bin" / "other.htm").string());
    create(beside);
    EXPECT_EQ(FindHelpFile(program, "index.htm"), beside) << "a page beside the program wins";
    fs::remove_all(prefix);
}

}  // namespace
}  // namespace hivora
