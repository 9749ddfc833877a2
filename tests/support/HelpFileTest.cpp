#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/BuildInfo.h"
#include "support/TempPath.h"
#include "support/Version.h"

namespace hivora {
namespace {

TEST(HelpFile, BuildFoldersLookOneFolderUp) {
    const std::pair<const char*, const char*> rows[] = {
        {"/opt/hivora/hivora", "/opt/hivora/index.htm"},
        {"/src/hivora/Release/hivora", "/src/hivora/index.htm"},
        {"/src/hivora/DEBUG/hivora", "/src/hivora/index.htm"},
        {"/src/hivora/debug2/hivora", "/src/hivora/debug2/index.htm"},
        {"/src/myrelease/hivora", "/src/myrelease/index.htm"},
        {"", "index.htm"},
    };
    for (const auto& [module, help] : rows) {
        EXPECT_EQ(HelpFilePathFor(module, "index.htm"), help) << module;
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
