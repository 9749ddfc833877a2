// The two file-set dialogs driven through their buttons, with questions answered by script.
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "UiTestSupport.h"
#include "fileset/FileSetRules.h"
#include "fileset/ui/CChooseFilesDlg.h"
#include "fileset/ui/COpenFilesMasterDlg.h"
#include "fileset/ui/ComboHistory.h"
#include "hive/RegistryBackend.h"
#include "support/Settings.h"

namespace hivora {
namespace {

class FileSetDialogTest : public testing::Test {
protected:
    void SetUp() override {
        CurrentFileSet() = FileSet{};
        root_ = std::filesystem::path(dir_.path().toStdString());
    }
    void TearDown() override {
        CurrentFileSet() = FileSet{};
        UseHiveEngine();
    }
    std::string MakeFile(const std::string& relative) {
        const std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "regf";
        return path.string();
    }
    QTemporaryDir dir_;
    std::filesystem::path root_;
    MemorySettingsStore settings_;
    ScriptedPrompter prompter_;
};

TEST_F(FileSetDialogTest, MasterDialogStartsDescribedWithLocalRegistryHidden) {
    COpenFilesMasterDlg dialog(settings_, prompter_);
    EXPECT_EQ(dialog.windowTitle(), "Open Registry Files Master");
    EXPECT_TRUE(dialog.Heading().startsWith("Welcome to Hivora v"));
    EXPECT_EQ(dialog.Description().count("<NOT SELECTED>"), 8);
    EXPECT_TRUE(dialog.Description().startsWith("SYSTEM:\n    <NOT SELECTED>\nSOFTWARE:"));
    EXPECT_FALSE(dialog.Button(1084)->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.Button(1079)->isEnabled());
    EXPECT_TRUE(dialog.Button(1)->isDefault());
    QStringList row;
    for (int id : {1077, 1078, 1079, 1080, 1082, 1, 1023, 2}) {
        row.push_back(dialog.Button(id)->text());
    }
    EXPECT_EQ(row.join("|"),
              "Select Folder with Registry Files|Select NT User Folder|Re-open Last File "
              "Set|Choose Files Manually|Reset|&Continue|&Help|Cancel");
}

TEST_F(FileSetDialogTest, ContinueReportsAndRemembersTheSet) {
    COpenFilesMasterDlg dialog(settings_, prompter_);
    dialog.RunButton(1082);
    dialog.RunButton(1);
    ASSERT_EQ(prompter_.errors.size(), 1u);
    EXPECT_EQ(prompter_.errors[0], "At least one file must be specified in order to continue");
    EXPECT_EQ(dialog.result(), 0);

    // Three missing files: one notice naming all three, and the dialog stays.
    CurrentFileSet()[HiveSlot::System] = "/missing/SYSTEM";
    CurrentFileSet()[HiveSlot::Sam] = "/missing/SAM";
    CurrentFileSet()[HiveSlot::NtUser] = "/missing/NTUSER.DAT";
    dialog.RunButton(1);
    ASSERT_EQ(prompter_.notices.size(), 1u);
    EXPECT_EQ(prompter_.notices[0].rfind(
                  "Unable to continue: there are problems with all 3 selected file!\r\n"
                  "Unable to open /missing/NTUSER.DAT: ",
                  0),
              0u)
        << prompter_.notices[0];
    EXPECT_FALSE(HasLastFileSet(settings_));

    // One good file of two: the question counts both, No keeps the dialog open.
    CurrentFileSet()[HiveSlot::System] = MakeFile("SYSTEM");
    CurrentFileSet()[HiveSlot::Sam].clear();
    prompter_.answers = {false};
    dialog.RunButton(1);
    ASSERT_EQ(prompter_.questions.size(), 1u);
    const std::string& question = prompter_.questions[0];
    EXPECT_EQ(question.rfind("1 selected file(s) caused the following problems:\r\n", 0), 0u);
    EXPECT_NE(question.find("\r\n\r\n\r\nWould you like to continue with the remaining 1 "
                            "file(s) (SYSTEM)?"),
              std::string::npos)
        << question;
    EXPECT_EQ(dialog.result(), 0);

    prompter_.answers = {true};
    dialog.RunButton(1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(HasLastFileSet(settings_));
    EXPECT_EQ(settings_.GetProfileString("LastFileSet", "1"), CurrentFileSet()[HiveSlot::System]);
    EXPECT_EQ(settings_.GetProfileString("LastFileSet", "0"), "/missing/NTUSER.DAT");

    // The next run offers the last set.
    ClearFileSet(CurrentFileSet());
    COpenFilesMasterDlg again(settings_, prompter_);
    EXPECT_TRUE(again.Button(1079)->isEnabled());
    again.RunButton(1079);
    EXPECT_EQ(CurrentFileSet()[HiveSlot::NtUser], "/missing/NTUSER.DAT");
    EXPECT_NE(again.Description().indexOf("/missing/NTUSER.DAT"), -1);
}

TEST_F(FileSetDialogTest, FolderButtonsFillOrReport) {
    const std::string system = MakeFile("config/SYSTEM");
    MakeFile("config/sam");
    const std::string user = MakeFile("profile/NTUSER.DAT");
    COpenFilesMasterDlg dialog(settings_, prompter_);
    std::string answer;
    std::vector<std::string> titles;
    dialog.SetFolderPicker([&](const std::string& title) {
        titles.push_back(title);
        return answer;
    });

    answer = (root_ / "profile").string();
    dialog.RunButton(1077);
    ASSERT_EQ(prompter_.errors.size(), 1u);
    EXPECT_EQ(prompter_.errors[0], "No suitable files were found in the specified directory");
    EXPECT_EQ(titles[0],
              "Select Folder that Contains Registry Files (%SysRoot%\\System32\\Config)");

    answer = (root_ / "config").string();
    dialog.RunButton(1077);
    EXPECT_EQ(CurrentFileSet()[HiveSlot::System], system);
    EXPECT_NE(dialog.Description().indexOf(QString::fromStdString(system)), -1);
    dialog.RunButton(1078);
    EXPECT_EQ(prompter_.errors.back(), "NTUSER.DAT does not exist in the specified folder");
    answer = (root_ / "profile").string();
    dialog.RunButton(1078);
    EXPECT_EQ(CurrentFileSet()[HiveSlot::NtUser], user);

    // A cancelled picker changes nothing and says nothing.
    answer.clear();
    const size_t errors = prompter_.errors.size();
    dialog.RunButton(1077);
    EXPECT_EQ(prompter_.errors.size(), errors);
    EXPECT_EQ(CurrentFileSet()[HiveSlot::System], system);

    // Choose Files Manually ended with Cancel does not refresh.
    dialog.SetChooseFilesDialog([](QWidget*) { return false; });
    CurrentFileSet()[HiveSlot::Bcd] = "changed behind the dialog";
    dialog.RunButton(1080);
    EXPECT_EQ(dialog.Description().indexOf("changed behind the dialog"), -1);
}

TEST_F(FileSetDialogTest, UseLocalRegistryAsksFirst) {
    COpenFilesMasterDlg dialog(settings_, prompter_);
    prompter_.answers = {false, true};
    dialog.RunButton(1084);
    EXPECT_FALSE(IsLiveRegistry());
    dialog.RunButton(1084);
    EXPECT_TRUE(IsLiveRegistry());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter_.questions[0].rfind("In Local Registry mode Hivora uses", 0), 0u);
}

TEST_F(FileSetDialogTest, BrowseFillsEmptyFieldsFromTheFolder) {
    const std::string software = MakeFile("Release/SOFTWARE");
    const std::string system = MakeFile("system");
    MakeFile("SAM");
    MakeFile("security");
    MakeFile("NTUSER.DAT");
    CChooseFilesDlg dialog(settings_, prompter_);
    dialog.Field(HiveSlot::Security)->setEditText("kept");
    std::string picked = software;
    dialog.SetFilePicker([&](const std::string&, const std::string&) { return picked; });
    dialog.Browse(HiveSlot::Software);
    EXPECT_EQ(dialog.Field(HiveSlot::Software)->currentText().toStdString(), software);
    EXPECT_EQ(dialog.Field(HiveSlot::System)->currentText().toStdString(), system);
    EXPECT_EQ(dialog.Field(HiveSlot::Sam)->currentText().toStdString(), (root_ / "SAM").string());
    EXPECT_EQ(dialog.Field(HiveSlot::Security)->currentText(), "kept");
    EXPECT_TRUE(dialog.Field(HiveSlot::NtUser)->currentText().isEmpty());

    // The user row never fills other rows.
    CChooseFilesDlg userOnly(settings_, prompter_);
    userOnly.SetFilePicker([&](const std::string&, const std::string& extension) {
        EXPECT_EQ(extension, "dat");
        return (root_ / "NTUSER.DAT").string();
    });
    userOnly.Browse(HiveSlot::NtUser);
    EXPECT_TRUE(userOnly.Field(HiveSlot::System)->currentText().isEmpty());
}

TEST_F(FileSetDialogTest, OkValidatesStoresTheSetAndTheHistory) {
    const std::string fallback = MakeFile("my-default");
    {
        CChooseFilesDlg dialog(settings_, prompter_);
        dialog.accept();
        EXPECT_EQ(prompter_.errors.back(), "Please specify at least one file!");
        dialog.Field(HiveSlot::System)->setEditText("/a/SYSTEM");
        dialog.Field(HiveSlot::Software)->setEditText("/A/system");
        dialog.accept();
        EXPECT_EQ(prompter_.errors.back(), "Duplicated file names are not allowed!");
        dialog.Field(HiveSlot::System)->setEditText("");
        dialog.Field(HiveSlot::Software)->setEditText(QString::fromStdString(fallback));
        prompter_.answers = {false};
        dialog.accept();
        ASSERT_EQ(prompter_.questions.size(), 1u);
        EXPECT_EQ(prompter_.questions[0], "You selected " + fallback +
                                              " as a SOFTWARE registry file. SOFTWARE registry "
                                              "file must be named SOFTWARE.\r\nAre you sure you "
                                              "want to continue with this non-standard file?");
        EXPECT_EQ(dialog.result(), 0);
        // Only the default slot: accepted, and every other slot emptied.
        CurrentFileSet()[HiveSlot::Sam] = "left over";
        dialog.Field(HiveSlot::Software)->setEditText("");
        dialog.Field(HiveSlot::Default)->setEditText(QString::fromStdString(fallback));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(CurrentFileSet()[HiveSlot::Default], fallback);
        EXPECT_TRUE(CurrentFileSet()[HiveSlot::Sam].empty());
    }
    CChooseFilesDlg reopened(settings_, prompter_);
    EXPECT_EQ(reopened.Field(HiveSlot::Default)->currentText().toStdString(), fallback);
    EXPECT_EQ(reopened.Field(HiveSlot::Default)->count(), 1);
    EXPECT_EQ(reopened.Field(HiveSlot::System)->count(), 0);
}

TEST(ComboHistory, KeepsTheAcceptedTextAndTheFirstFifteenOthers) {
    MemorySettingsStore settings;
    std::vector<std::string> items;
    for (char c = 'p'; c >= 'a'; --c) {
        items.push_back(std::string("/h/") + c);
    }
    SaveComboHistory(settings, "sysfns", "/h/x", items);
    ComboHistory loaded = LoadComboHistory(settings, "sysfns");
    ASSERT_EQ(loaded.items.size(), 16u);
    EXPECT_EQ(loaded.text, "/h/x");
    EXPECT_TRUE(std::is_sorted(loaded.items.begin(), loaded.items.end(), HistoryLess));
    EXPECT_EQ(settings.GetProfileString("SVCOMBOS", "sysfns000"), "/h/x");
    EXPECT_EQ(settings.GetProfileString("SVCOMBOS", "sysfns001"), "/h/p");

    // A list in sorted order (as the field shows it) drops the alphabetically last name.
    std::sort(items.begin(), items.end(), HistoryLess);
    SaveComboHistory(settings, "sysfns", "/h/new", items);
    EXPECT_EQ(settings.GetProfileString("SVCOMBOS", "sysfns001"), "/h/a");
    EXPECT_EQ(settings.GetProfileString("SVCOMBOS", "sysfns015"), "/h/o");

    // The typed text already in the list in another case is stored once, at 000.
    SaveComboHistory(settings, "userfns", "/H/A", {"/h/a", "/h/b"});
    EXPECT_EQ(settings.GetProfileString("SVCOMBOS", "userfns000"), "/H/A");
    EXPECT_EQ(settings.GetProfileString("SVCOMBOS", "userfns001"), "/h/b");
    EXPECT_EQ(settings.GetProfileString("SVCOMBOS", "userfns002"), "");
    loaded = LoadComboHistory(settings, "userfns");
    EXPECT_EQ(loaded.items, (std::vector<std::string>{"/H/A", "/h/b"}));
}

}  // namespace
}  // namespace hivora
