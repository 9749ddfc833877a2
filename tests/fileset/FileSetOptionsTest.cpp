// The file-set options as the desktop program parses them (hivora-cli's runs are in tests/cli),
// and the set's name in window captions.
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "fileset/FileSetOptions.h"
#include "fileset/FileSetTitle.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

FileSet Parse(std::vector<std::string> args) {
    FileSetOptions options;
    CLI::App app("", "hivora");
    AddFileSetOptions(app, options);
    std::reverse(args.begin(), args.end());  // CLI11 takes the vector form reversed
    app.parse(args);
    return options.Given() ? BuildFileSet(options) : FileSet{};
}

TEST(FileSetOptions, DesktopArgumentsFillTheSameSlots) {
    const auto folder = test::UniqueTempPath("hivora_options");
    std::filesystem::create_directories(folder / "config");
    for (const char* name : {"config/SYSTEM", "config/software", "NTUSER.DAT"}) {
        std::ofstream(folder / name) << "regf";
    }
    const FileSet set = Parse({"--dir", (folder / "config").string(),
                               "--user-dir=" + folder.string(), "--sam", "sam-copy"});
    EXPECT_EQ(set[HiveSlot::System], (folder / "config/SYSTEM").string());
    EXPECT_EQ(set[HiveSlot::Software], (folder / "config/software").string());
    EXPECT_EQ(set[HiveSlot::NtUser], (folder / "NTUSER.DAT").string());
    EXPECT_EQ(set[HiveSlot::Sam], (std::filesystem::current_path() / "sam-copy").string());
    EXPECT_TRUE(Parse({}).Empty());
    EXPECT_THROW(Parse({"--dir", (folder / "NTUSER.DAT").string()}), FileSetOptionError);
    std::filesystem::remove_all(folder);
}

TEST(FileSetTitle, NamesTheFolderOrTheSystemAndUserFiles) {
    struct Row {
        const char* name;
        std::vector<std::pair<HiveSlot, std::string>> files;
        std::string title;
    };
    using enum HiveSlot;
    const Row rows[] = {
        {"empty", {}, ""},
        {"one folder", {{System, "/c/config/SYSTEM"}, {Sam, "/c/config/SAM"}}, "/c/config"},
        {"two folders",
         {{Sam, "/c/SAM"}, {NtUser, "/u/NTUSER.DAT"}, {System, "/c/SYSTEM"}},
         "/c/SYSTEM, /u/NTUSER.DAT"},
        {"neither system nor user", {{Sam, "/a/SAM"}, {Bcd, "/b/BCD"}}, "/a/SAM"},
    };
    for (const Row& row : rows) {
        FileSet set;
        for (const auto& [slot, file] : row.files) {
            set[slot] = file;
        }
        EXPECT_EQ(FileSetTitle(set), row.title) << row.name;
    }
}

}  // namespace
}  // namespace hivora
