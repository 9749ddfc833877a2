#include "fileset/FileSetRules.h"
#include "fileset/FileSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/MyException.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

namespace fs = std::filesystem;

// Answers every question with a fixed reply and keeps what it was shown.
class ScriptedPrompt : public UserPrompt {
public:
    explicit ScriptedPrompt(bool answer = true) : answer_(answer) {}
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return answer_;
    }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    std::vector<std::string> questions;
    std::vector<std::string> notices;

private:
    bool answer_;
};

class FixedFolder : public FolderPicker {
public:
    explicit FixedFolder(std::string folder) : folder_(std::move(folder)) {}
    std::string BrowseForFolder(const std::string&) override { return folder_; }

private:
    std::string folder_;
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

TEST(IsStandardFileName, AcceptedNamesPerSlot) {
    struct Row {
        HiveSlot slot;
        const char* path;
        bool standard;
    };
    for (const Row& row :
         {Row{HiveSlot::System, "/h/SYSTEM.", true}, Row{HiveSlot::System, "/h/System.Dat", true},
          Row{HiveSlot::System, "system", true}, Row{HiveSlot::System, "/h/system.sav", false},
          Row{HiveSlot::NtUser, "/u/NTUSER.DAT", true}, Row{HiveSlot::NtUser, "/u/user.dat", true},
          Row{HiveSlot::NtUser, "/u/ntuser.man", false}, Row{HiveSlot::Sam, "C:\\x\\SAM", true},
          Row{HiveSlot::Default, "/h/default", false}}) {
        EXPECT_EQ(IsStandardFileName(row.slot, row.path), row.standard) << row.path;
    }
}

TEST(ValidateChosenFiles, ChecksInOrderWithTheExactMessages) {
    TempFolder folder({"SYSTEM", "system.sav", "other"});
    using Names = std::array<std::string, kHiveSlotCount>;
    ScriptedPrompt yes;
    EXPECT_EQ(Message([&] { ValidateChosenFiles(Names{}, yes); }),
              "Please specify at least one file!");

    Names duplicated;
    duplicated[static_cast<size_t>(HiveSlot::System)] = folder / "SYSTEM";
    duplicated[static_cast<size_t>(HiveSlot::Software)] = folder / "system";
    EXPECT_EQ(Message([&] { ValidateChosenFiles(duplicated, yes); }),
              "Duplicated file names are not allowed!");

    Names sharedWithDefault;  // Default takes part in no duplicate check
    sharedWithDefault[static_cast<size_t>(HiveSlot::System)] = folder / "SYSTEM";
    sharedWithDefault[static_cast<size_t>(HiveSlot::Default)] = folder / "SYSTEM";
    EXPECT_TRUE(ValidateChosenFiles(sharedWithDefault, yes));
    EXPECT_TRUE(yes.questions.empty());

    Names nonStandard;
    nonStandard[static_cast<size_t>(HiveSlot::System)] = folder / "system.sav";
    ScriptedPrompt no(false);
    EXPECT_FALSE(ValidateChosenFiles(nonStandard, no));
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0], "You selected " + (folder / "system.sav") +
                                   " as a SYSTEM registry file. System registry file must be "
                                   "named SYSTEM. or SYSTEM.DAT.\r\nAre you sure you want to "
                                   "continue with this non-standard file?");

    Names missing;
    missing[static_cast<size_t>(HiveSlot::Default)] = folder / "absent";
    EXPECT_EQ(Message([&] {
                  ValidateChosenFiles(missing, yes);
              }).rfind("Unable to open " + (folder / "absent"), 0),
              0u);
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

    FileSet allMissing;
    for (HiveSlot slot : {HiveSlot::Sam, HiveSlot::Security, HiveSlot::Bcd}) {
        allMissing[slot] = folder / "gone";
    }
    ScriptedPrompt notice;
    EXPECT_FALSE(ConfirmFileSet(allMissing, notice, settings));
    ASSERT_EQ(notice.notices.size(), 1u);
    EXPECT_EQ(notice.notices[0].rfind(
                  "Unable to continue: there are problems with all 3 selected file!\r\n", 0),
              0u);
}

TEST(LastFileSet, SavesEveryEntryAndRestoresOnlyWhenOneIsSet) {
    MemorySettingsStore settings;
    FileSet set;
    set[HiveSlot::Default] = "/keep/default";
    RestoreLastFileSet(set, settings);
    EXPECT_EQ(set[HiveSlot::Default], "/keep/default");  // nothing stored: unchanged

    FileSet systemOnly;
    systemOnly[HiveSlot::System] = "/h/SYSTEM";
    SaveLastFileSet(systemOnly, settings);
    EXPECT_EQ(settings.EntryCount(), 8u);
    EXPECT_EQ(settings.GetProfileString("LastFileSet", "1"), "/h/SYSTEM");
    EXPECT_EQ(settings.GetProfileString("LastFileSet", "0", "unset"), "");
    EXPECT_TRUE(HasLastFileSet(settings));

    settings.WriteProfileString("LastFileSet", "2", "/h/SOFTWARE");
    RestoreLastFileSet(set, settings);
    FileSet expected;
    expected[HiveSlot::System] = "/h/SYSTEM";
    expected[HiveSlot::Software] = "/h/SOFTWARE";
    EXPECT_EQ(set.names, expected.names);
    ClearFileSet(set);
    EXPECT_TRUE(set.Empty());
}

TEST(FolderScans, FillSlotsOrRaise) {
    TempFolder hives({"SYSTEM.DAT", "SOFTWARE"});
    FileSet set;
    set[HiveSlot::NtUser] = "/u/NTUSER.DAT";
    set[HiveSlot::Sam] = "/old/SAM";
    FixedFolder picker(hives.Path());
    ScanHiveFolder(set, picker);
    EXPECT_EQ(set[HiveSlot::System], hives / "SYSTEM.DAT");
    EXPECT_EQ(set[HiveSlot::Software], hives / "SOFTWARE");
    EXPECT_EQ(set[HiveSlot::Sam], "/old/SAM");
    EXPECT_EQ(set[HiveSlot::NtUser], "/u/NTUSER.DAT");

    TempFolder empty({"unrelated"});
    FixedFolder emptyPicker(empty.Path());
    const FileSet before = set;
    EXPECT_EQ(Message([&] { ScanHiveFolder(set, emptyPicker); }),
              "No suitable files were found in the specified directory");
    EXPECT_EQ(Message([&] { ScanUserFolder(set, emptyPicker); }),
              "NTUSER.DAT does not exist in the specified folder");
    EXPECT_EQ(set.names, before.names);

    FixedFolder cancelled("");
    ScanHiveFolder(set, cancelled);
    ScanUserFolder(set, cancelled);
    EXPECT_EQ(set.names, before.names);

    TempFolder profile({"USER.DAT"});
    FixedFolder profilePicker(profile.Path());
    ScanUserFolder(set, profilePicker);
    EXPECT_EQ(set[HiveSlot::NtUser], profile / "USER.DAT");
}

}  // namespace
}  // namespace hivora
