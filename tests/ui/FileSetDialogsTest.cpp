// The Choose Files dialog driven through its fields, with questions answered by script.
#include <QComboBox>
#include <QTemporaryDir>

#include "UiTestSupport.h"
#include "fileset/FileSetRules.h"
#include "fileset/ui/CChooseFilesDlg.h"
#include "hive/RegistryBackend.h"

namespace hivora {
namespace {

class FileSetDialogTest : public testing::Test {
protected:
    void SetUp() override { CurrentFileSet() = FileSet{}; }
    void TearDown() override {
        CurrentFileSet() = FileSet{};
        UseHiveEngine();
    }
    QTemporaryDir dir_;
    MemorySettingsStore settings_;
    ScriptedPrompter prompter_;
};

// OK runs the checks: a refusal keeps the dialog open and the set unchanged; an accepted set
// becomes the current one and each field's history.
TEST_F(FileSetDialogTest, OkValidatesStoresTheSetAndTheHistory) {
    const std::string fallback = dir_.filePath("my-default").toStdString();
    std::ofstream(fallback) << "regf";
    {
        CChooseFilesDlg dialog(settings_, prompter_);
        dialog.accept();
        EXPECT_EQ(prompter_.errors.size(), 1u);  // nothing chosen
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

}  // namespace
}  // namespace hivora
