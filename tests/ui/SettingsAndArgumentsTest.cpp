// The settings store on QSettings, and the desktop program's file-set arguments.
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "UiTestSupport.h"
#include "shell/FileSetArguments.h"
#include "support/ui/QtSettingsStore.h"

namespace hivora {
namespace {

TEST(QtSettingsStore, AnySectionNameRoundTrips) {
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.ini");
    const std::vector<std::string> sections = {"LastFileSet", "a/b", "a\\b", "C:\\h\\SYSTEM", "",
                                               "x:y",         "~41", "A",    "Ünïcode"};
    {
        QtSettingsStore store(file);
        for (size_t i = 0; i < sections.size(); ++i) {
            store.WriteProfileString(sections[i], "000N", "name" + std::to_string(i));
            store.WriteProfileInt(sections[i], "000K", static_cast<int>(i) - 3);
        }
        store.Sync();
    }
    QtSettingsStore reread(file);
    for (size_t i = 0; i < sections.size(); ++i) {
        EXPECT_EQ(reread.GetProfileString(sections[i], "000N"), "name" + std::to_string(i))
            << sections[i];
        EXPECT_EQ(reread.GetProfileInt(sections[i], "000K", 99), static_cast<int>(i) - 3);
    }
    EXPECT_EQ(reread.GetProfileString("missing", "entry", "fallback"), "fallback");
    EXPECT_EQ(reread.GetProfileInt("LastFileSet", "missing", 7), 7);
    EXPECT_EQ(reread.GetProfileInt("LastFileSet", "000N", 7), 7);  // text is no number
}

class FileSetArgumentsTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::path(dir_.path().toStdString());
        for (const char* name : {"SYSTEM", "Software", "ntuser.dat", "notes.txt"}) {
            std::ofstream(root_ / name) << "regf";
        }
    }
    std::string Path(const char* name) const { return (root_ / name).string(); }
    QTemporaryDir dir_;
    std::filesystem::path root_;
};

TEST_F(FileSetArgumentsTest, FillsSlotsLikeTheCommandLineTool) {
    FileSetArguments parsed = ParseFileSetArguments({"--dir", root_.string()});
    ASSERT_TRUE(parsed.set.has_value()) << parsed.error;
    EXPECT_EQ((*parsed.set)[HiveSlot::System], Path("SYSTEM"));
    EXPECT_EQ((*parsed.set)[HiveSlot::Software], Path("Software"));
    EXPECT_TRUE((*parsed.set)[HiveSlot::NtUser].empty());

    parsed =
        ParseFileSetArguments({"--user-dir=" + root_.string(), "--sam", "/x/y", Path("SYSTEM")});
    ASSERT_TRUE(parsed.set.has_value()) << parsed.error;
    EXPECT_EQ((*parsed.set)[HiveSlot::NtUser], Path("ntuser.dat"));
    EXPECT_EQ((*parsed.set)[HiveSlot::Sam], "/x/y");
    EXPECT_EQ((*parsed.set)[HiveSlot::System], Path("SYSTEM"));

    EXPECT_FALSE(ParseFileSetArguments({}).set.has_value());
    EXPECT_TRUE(ParseFileSetArguments({"--help"}).help);
}

TEST_F(FileSetArgumentsTest, ErrorsNameTheArgument) {
    struct Row {
        std::vector<std::string> args;
        std::string mentions;
    };
    const Row rows[] = {
        {{Path("notes.txt")}, "notes.txt"},
        {{"--system"}, "--system"},
        {{"--colour", "x"}, "--colour"},
        {{"--dir", Path("notes.txt")}, "notes.txt"},
        {{"--user-dir", "/nonexistent-folder"}, "/nonexistent-folder"},
    };
    for (const Row& row : rows) {
        const FileSetArguments parsed = ParseFileSetArguments(row.args);
        EXPECT_FALSE(parsed.set.has_value()) << row.mentions;
        EXPECT_NE(parsed.error.find(row.mentions), std::string::npos) << parsed.error;
    }
}

}  // namespace
}  // namespace hivora
