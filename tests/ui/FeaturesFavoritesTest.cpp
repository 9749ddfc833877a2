// The favourites dialogs and the Favorites menu texts over a store in memory.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "FeaturesTestSupport.h"
#include "favorites/FavoriteStore.h"
#include "favorites/ui/FavoriteNameDialog.h"
#include "favorites/ui/ManageFavoritesDialog.h"
#include "support/Settings.h"
#include "viewers/ui/ReportErrors.h"

namespace hivora {
namespace {

class FeaturesFavorites : public ::testing::Test {
protected:
    FeaturesFavorites() : store_(settings_, files_) {
        files_[HiveSlot::System] = "/h/SYSTEM";
        files_[HiveSlot::NtUser] = "/u/NTUSER.DAT";
    }
    void Add(const std::string& name, const std::string& subPath = "SOFTWARE") {
        store_.AddFavorite({name, kLocalMachine, subPath});
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const Favorite& favorite : store_.Favorites()) {
            names.push_back(favorite.name);
        }
        return names;
    }

    MemorySettingsStore settings_;
    FileSet files_;
    FavoriteStore store_;
    ScriptedPrompter prompter_;
};

TEST_F(FeaturesFavorites, NameDialogRefusesEmptyAndDuplicateNamesWhenAdding) {
    Add("Run keys");
    FavoriteNameDialog dialog(FavoriteNameDialog::Mode::Add, "HKEY_LOCAL_MACHINE\\SOFTWARE", store_,
                              prompter_);
    EXPECT_EQ(dialog.windowTitle(), "Add To Favorites");
    EXPECT_EQ(dialog.NameEdit()->text(), "HKEY_LOCAL_MACHINE\\SOFTWARE");

    dialog.NameEdit()->setText("   ");
    dialog.OkButton()->click();
    EXPECT_EQ(prompter_.errors, std::vector<std::string>{"The name must not be empty!"});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.NameEdit()->setText("run KEYS");
    dialog.OkButton()->click();
    EXPECT_EQ(prompter_.notices,
              std::vector<std::string>{"Favorite with this name already exists"});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.NameEdit()->setText("  Services \t");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), "Services");
}

TEST_F(FeaturesFavorites, RenameModeHasItsCaptionAndAllowsExistingNames) {
    Add("A");
    Add("B");
    FavoriteNameDialog dialog(FavoriteNameDialog::Mode::Rename, "B", store_, prompter_);
    EXPECT_EQ(dialog.windowTitle(), "Rename Favorite");
    dialog.NameEdit()->setText("A");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(prompter_.notices.empty());
}

TEST_F(FeaturesFavorites, ManageListsGoesToAndRenames) {
    Add("First");
    Add("Second");
    Add("Third");
    ManageFavoritesDialog dialog(store_, prompter_);
    ASSERT_EQ(dialog.List()->count(), 3);
    EXPECT_EQ(dialog.List()->item(2)->text(), "Third");
    EXPECT_EQ(dialog.List()->currentRow(), 0);

    // Rename needs exactly one selected item.
    dialog.List()->clearSelection();
    dialog.RenameButton()->click();
    dialog.List()->item(0)->setSelected(true);
    dialog.List()->item(1)->setSelected(true);
    dialog.RenameButton()->click();
    EXPECT_EQ(prompter_.notices,
              std::vector<std::string>(2, "Please select a single item to rename"));

    dialog.List()->clearSelection();
    dialog.List()->item(1)->setSelected(true);
    QTimer::singleShot(0, [] {
        auto* rename = qobject_cast<FavoriteNameDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(rename, nullptr);
        EXPECT_EQ(rename->NameEdit()->text(), "Second");
        rename->NameEdit()->setText("Middle");
        rename->OkButton()->click();
    });
    dialog.RenameButton()->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{"First", "Middle", "Third"}));
    EXPECT_EQ(dialog.List()->item(1)->text(), "Middle");

    dialog.List()->setCurrentRow(2);
    dialog.GoToButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenIndex(), 2);
}

TEST_F(FeaturesFavorites, DeleteRemovesTheSelectionAndDeleteAllAsksFirst) {
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        Add(name);
    }
    ManageFavoritesDialog dialog(store_, prompter_);
    dialog.List()->clearSelection();
    for (int row : {0, 2, 4}) {
        dialog.List()->item(row)->setSelected(true);
    }
    dialog.DeleteButton()->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(dialog.List()->count(), 2);
    EXPECT_TRUE(prompter_.questions.empty());

    prompter_.answers = {false};
    dialog.DeleteAllButton()->click();
    EXPECT_EQ(prompter_.questions,
              std::vector<std::string>{"Are you sure you want to delete all bookmarks?"});
    EXPECT_EQ(Names().size(), 2u);

    prompter_.answers = {true};
    dialog.DeleteAllButton()->click();
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.ChosenIndex(), -1);
}

TEST_F(FeaturesFavorites, SaveAndLoadGoThroughTheFavoritesFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath("favorites.txt");
    Add("HKEY_LOCAL_MACHINE\\SOFTWARE");
    Add("Soft", "SOFTWARE");
    ManageFavoritesDialog dialog(store_, prompter_);
    {
        test::FileAnswer answer(path);
        dialog.SaveButton()->click();
        ASSERT_EQ(answer.asked.size(), 1u);
        EXPECT_TRUE(answer.asked[0].save);
        EXPECT_EQ(answer.asked[0].filter, "Text File (*.txt)|*.txt|All Files (*.*)|*.*||");
        EXPECT_EQ(answer.asked[0].extension, "*.txt");
    }
    EXPECT_EQ(test::ReadWholeFile(path),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\r\nSoft,HKEY_LOCAL_MACHINE\\SOFTWARE\r\n");

    {
        test::FileAnswer answer(path);
        dialog.LoadButton()->click();
        EXPECT_FALSE(answer.asked.at(0).save);
    }
    EXPECT_EQ(dialog.List()->count(), 4);

    // A file that can't be read is reported, not thrown through the event loop.
    std::vector<std::string> errors;
    SetErrorSink([&](const std::string& text) { errors.push_back(text); });
    {
        test::FileAnswer answer(folder.filePath("missing.txt"));
        dialog.LoadButton()->click();
    }
    SetErrorSink({});
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(dialog.List()->count(), 4);
}

}  // namespace
}  // namespace hivora
