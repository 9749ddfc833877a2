#include "fileset/FileSet.h"
#include "fileset/FileSetRules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/MyException.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

namespace fs = std::filesystem;

// Answers every question with a fixed reply and keeps what it was shown.
struct ScriptedPrompt : UserPrompt {
    explicit ScriptedPrompt(bool reply = true) : answer(reply) {}
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    void ShowNotice(const std::string&) override {}
    bool answer;
    std::vector<std::string> questions;
};

struct FixedFolder : FolderPicker {
    explicit FixedFolder(std::string chosen) : folder(std::move(chosen)) {}
    std::string BrowseForFolder(const std::string&) override { return folder; }
    std::string folder;
};

// A temporary folder with the named (empty) files in it.
class TempFolder {
public:
    explicit TempFolder(std::initializer_list<const char*> files) {
        path_ = hivora::test::UniqueTempPath("hivora_fileset");
        fs::create_directories(path_);
        for (const char* file : files) {
            std::ofstream(path_ / file) << "regf";
        }
    }
    ~TempFolder() { fs::remove_all(path_); }
    std::string operator/(const char* file) const { return (path_ / file).string(); }
    std::string Path() const { return path_.string(); }

private:
    fs::path path_;
};

std::string Message(const std::function<void()>& action) {
    try {
        action();
    } catch (const CMyException& error) {
        return error.GetErrorMessage();
    }
    return "(nothing raised)";
}

using Names = std::array<std::string, kHiveSlotCount>;

Names Chosen(std::initializer_list<std::pair<HiveSlot, std::string>> files) {
    Names names;
    for (const auto& [slot, path] : files) {
        names[static_cast<size_t>(slot)] = path;
    }
    return names;
}

TEST(IsStandardFileName, AcceptedNamesPerSlot) {
    using enum HiveSlot;
    const std::tuple<HiveSlot, const char*, bool> rows[] = {
        {System, "/h/SYSTEM.", true},  {System, "/h/System.Dat", true},
        {System, "system", true},      {System, "/h/system.sav", false},
        {NtUser, "/u/user.dat", true}, {NtUser, "/u/ntuser.man", false},
        {Sam, "C:\\x\\SAM", true},     {Default, "/h/default", false}};
    for (const auto& [slot, path, standard] : rows) {
        EXPECT_EQ(IsStandardFileName(slot, path), standard) << path;
    }
}

TEST(ValidateChosenFiles, ChecksInOrderWithTheExactMessages) {
    TempFolder folder({"SYSTEM", "system.sav"});
    const std::string system = folder / "SYSTEM";
    ScriptedPrompt yes;
    EXPECT_EQ(Message([&] { ValidateChosenFiles(Names{}, yes); }),
              "Please specify at least one file!");
    EXPECT_EQ(Message([&] {
                  ValidateChosenFiles(
                      Chosen({{HiveSlot::System, system}, {HiveSlot::Software, folder / "system"}}),
                      yes);
              }),
              "Duplicated file names are not allowed!");
    // Default takes part in no duplicate check.
    EXPECT_TRUE(ValidateChosenFiles(
        Chosen({{HiveSlot::System, system}, {HiveSlot::Default, system}}), yes));
    EXPECT_TRUE(yes.questions.empty());

    ScriptedPrompt no(false);
    EXPECT_FALSE(ValidateChosenFiles(Chosen({{HiveSlot::System, folder / "system.sav"}}), no));
    EXPECT_EQ(no.questions,
              std::vector<std::string>{"You selected " + (folder / "system.sav") +
                                       " as a SYSTEM registry file. System registry file must be "
                                       "named SYSTEM. or SYSTEM.DAT.\r\nAre you sure you want to "
                                       "continue with this non-standard file?"});
}

TEST(ConfirmFileSet, ReportsProblemsAndSavesTheAcceptedSet) {
    TempFolder folder({"NTUSER.DAT", "SOFTWARE"});
    MemorySettingsStore settings;
    ScriptedPrompt prompt(false);
    FileSet set;
    EXPECT_EQ(Message([&] { ConfirmFileSet(set, prompt, settings); }),
              "At least one file must be specified in order to continue");

    set[HiveSlot::NtUser] = folder / "NTUSER.DAT";
    set[HiveSlot::System] = folder / "SYSTEM";  // missing
    set[HiveSlot::Software] = folder / "SOFTWARE";
    EXPECT_FALSE(ConfirmFileSet(set, prompt, settings));
    ASSERT_EQ(prompt.questions.size(), 1u);
    const std::string& question = prompt.questions[0];
    EXPECT_EQ(
        question.rfind("1 selected file(s) caused the following problems:\r\nUnable to open " +
                           (folder / "SYSTEM"),
                       0),
        0u);
    EXPECT_NE(question.find("\r\n\r\n\r\nWould you like to continue with the remaining 2 file(s) "
                            "(NTUSER, SOFTWARE)?"),
              std::string::npos);
    EXPECT_FALSE(HasLastFileSet(settings));  // No keeps the dialog open, nothing saved

    ScriptedPrompt yes(true);
    EXPECT_TRUE(ConfirmFileSet(set, yes, settings));
    EXPECT_EQ(settings.GetProfileString("LastFileSet", "1"), folder / "SYSTEM");
}

TEST(FolderScans, FillSlotsOrRaise) {
    TempFolder hives({"SYSTEM.DAT", "SOFTWARE"});
    TempFolder profile({"USER.DAT"});
    TempFolder empty({"unrelated"});
    FileSet set;
    set[HiveSlot::Sam] = "/old/SAM";
    FixedFolder picker(hives.Path());
    ScanHiveFolder(set, picker);
    picker.folder = profile.Path();
    ScanUserFolder(set, picker);
    FileSet expected;
    expected[HiveSlot::System] = hives / "SYSTEM.DAT";
    expected[HiveSlot::Software] = hives / "SOFTWARE";
    expected[HiveSlot::Sam] = "/old/SAM";
    expected[HiveSlot::NtUser] = profile / "USER.DAT";
    EXPECT_EQ(set.names, expected.names);

    picker.folder = empty.Path();
    EXPECT_EQ(Message([&] { ScanHiveFolder(set, picker); }),
              "No suitable files were found in the specified directory");
    EXPECT_EQ(Message([&] { ScanUserFolder(set, picker); }),
              "NTUSER.DAT does not exist in the specified folder");
}

}  // namespace
}  // namespace hivora
