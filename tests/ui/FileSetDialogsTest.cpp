// The Choose Files dialog driven through its fields, with questions answered by script.
#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>
#include <memory>
#include <filesystem>
#include <fstream>

#include "UiTestSupport.h"
#include "fileset/FileSetRules.h"
#include "fileset/ui/CChooseFilesDlg.h"
#include "fileset/ui/COpenFilesMasterDlg.h"
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

// OK runs the checks: a refusal keeps the dialog open and the set unchanged; an accepted set
// becomes the current one and each field's history.
TEST_F(FileSetDialogTest, OkValidatesStoresTheSetAndTheHistory) {
    const std::string fallback = MakeFile("my-default");
    {
        CChooseFilesDlg dialog(settings_, prompter_);
        dialog.accept();
        EXPECT_EQ(prompter_.errors.size(), 1u);  // nothing chosen
        dialog.Field(HiveSlot::System)->setEditText("/a/SYSTEM");
        dialog.Field(HiveSlot::Software)->setEditText("/A/system");
        dialog.accept();
        EXPECT_EQ(prompter_.errors.size(), 2u);  // one file twice
        dialog.Field(HiveSlot::System)->setEditText("");
        dialog.Field(HiveSlot::Software)->setEditText(QString::fromStdString(fallback));
        prompter_.answers = {false};
        dialog.accept();
        EXPECT_EQ(prompter_.questions.size(), 1u);  // a non-standard name, refused
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_TRUE(CurrentFileSet().Empty());
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
    EXPECT_EQ(reopened.Field(HiveSlot::System)->count(), 0);
}

// "Apply transaction logs" starts on, a user's "off" outlives the dialog, and --no-logs (the
// set's own choice) turns it off without touching the remembered one.
TEST_F(FileSetDialogTest, ApplyLogsCheckBoxIsRemembered) {
    auto box = [this] {
        auto dialog = std::make_unique<COpenFilesMasterDlg>(settings_, prompter_);
        return std::pair(dialog->findChild<QCheckBox*>(QStringLiteral("applyLogs"))->isChecked(),
                         std::move(dialog));
    };
    EXPECT_TRUE(box().first);
    box().second->findChild<QCheckBox*>(QStringLiteral("applyLogs"))->setChecked(false);
    EXPECT_FALSE(box().first);
    box().second->findChild<QCheckBox*>(QStringLiteral("applyLogs"))->setChecked(true);
    CurrentFileSet().applyLogs = false;
    EXPECT_FALSE(box().first);
    CurrentFileSet().applyLogs = true;
    EXPECT_TRUE(box().first);
}

}  // namespace
}  // namespace hivora
