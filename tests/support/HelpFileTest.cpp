#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempPath.h"
#include "support/Version.h"

namespace hivora {
namespace {

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
    // A build folder looks one folder up.
    EXPECT_EQ(HelpFilePathFor("/src/hivora/Release/hivora", "index.htm"), "/src/hivora/index.htm");
    EXPECT_EQ(HelpFilePathFor("/src/myrelease/hivora", "index.htm"), "/src/myrelease/index.htm");
    fs::remove_all(prefix);
}

}  // namespace
}  // namespace hivora
