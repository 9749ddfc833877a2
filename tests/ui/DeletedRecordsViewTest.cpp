// Show Deleted Records on the sample hives: deleted keys under their live parent and under a
// hive's node of unknown parents, deleted values in the list, the status bar, and the switch
// remembered and undone.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "UiTestSupport.h"
#include "keys/DeletedKeyIndex.h"
#include "keys/DeletedKeyTree.h"
#include "search/ui/FindDialog.h"

namespace hivora {
namespace {

constexpr const char* kUsers = "HKEY_LOCAL_MACHINE\\sam\\SAM\\Domains\\Account\\Users";

// The children of the selected item once filled, each deleted one marked with a '*'.
QStringList SelectedChildren(CRegistryTreeCtrl* tree) {
    QTreeWidgetItem* item = tree->currentItem();
    tree->EnsureFilled(item);
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i) {
        const KeyItemData* record = CRegistryTreeCtrl::KeyItemOf(item->child(i));
        children.push_back(item->child(i)->text(0) + (record && record->IsDeleted() ? "*" : ""));
    }
    return children;
}

int RowNamed(CRegValuesList* list, const std::string& name) {
    for (int row = 0; row < list->RowCount(); ++row) {
        if (list->CellText(row, 0) == name) {
            return row;
        }
    }
    return -1;
}

// Later tests start with deleted records hidden, whatever this one left.
struct HiddenAgain {
    ~HiddenAgain() {
        ShowDeletedRecords(false);
        AppSettings().WriteProfileInt("View", "ShowDeletedRecords", 0);
    }
};

TEST_F(RegistryWindowTest, ShowDeletedRecordsAddsThemToTreeListAndStatus) {
    HiddenAgain restore;
    CMainFrame* frame = app_->MainFrame();
    CRegistryTreeCtrl* tree = View()->Tree();
    CRegValuesList* list = View()->List();

    // User 1000 was deleted (1001 replaced it); its key and values are still in free cells.
    ASSERT_TRUE(tree->SelectPath(kUsers));
    const QStringList liveChildren = SelectedChildren(tree);
    EXPECT_FALSE(tree->SelectPath(std::string(kUsers) + "\\000003E8"));

    ASSERT_TRUE(frame->RunCommand(cmd::kShowDeletedRecords));
    EXPECT_EQ(AppSettings().GetProfileInt("View", "ShowDeletedRecords", 0), 1);
    // The window was rebuilt with the selection kept; the deleted user follows the live keys.
    ASSERT_EQ(tree->GetKeyPath(false, false), kUsers);
    EXPECT_EQ(SelectedChildren(tree), liveChildren + QStringList{"000003E8*"});

    // A deleted key: marked in the status bar, no branch export (its path may name a live
    // key); its values in the list in their own style.
    ASSERT_TRUE(tree->SelectPath(std::string(kUsers) + "\\000003E8"));
    EXPECT_TRUE(frame->StatusText().endsWith("(deleted key)")) << frame->StatusText().toStdString();
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kExportRegBranch));
    const int deletedRow = RowNamed(list, "ForcePasswordReset");
    ASSERT_GE(deletedRow, 0);
    EXPECT_TRUE(list->model()->index(deletedRow, 0).data(Qt::FontRole).value<QFont>().italic());

    // Keys whose parent is gone gather below their hive's root.
    const std::string orphans = std::string("HKEY_LOCAL_MACHINE\\system\\") + kDeletedGroupName;
    ASSERT_TRUE(tree->SelectPath(orphans + "\\NO_DRV_PIC"));
    EXPECT_TRUE(CRegistryTreeCtrl::KeyItemOf(tree->currentItem())->IsDeleted());
    EXPECT_TRUE(frame->StatusText().endsWith("(deleted key)"));

    ASSERT_TRUE(frame->RunCommand(cmd::kShowDeletedRecords));
    EXPECT_FALSE(tree->SelectPath(orphans));
    ASSERT_TRUE(tree->SelectPath(kUsers));
    EXPECT_EQ(SelectedChildren(tree), liveChildren);
}

// Find selects its hit and F3 goes on after it, each window with criteria of its own. Deleted
// records follow their hive's live keys only when asked; such a hit turns the view on and selects
// the deleted value itself.
TEST_F(RegistryWindowTest, FindIncludesDeletedRecordsOnRequest) {
    HiddenAgain restore;
    CChildView* view = View();
    EXPECT_FALSE(view->CommandEnabled(cmd::kFindNext));
    auto find = [view](bool deleted) {
        WhenModal<FindDialog>([deleted](FindDialog* dialog) {
            dialog->TextEdit()->setText("ForcePasswordReset");
            dialog->KeysBox()->setChecked(false);
            dialog->DataBox()->setChecked(false);
            dialog->WholeStringBox()->setChecked(true);
            dialog->DeletedBox()->setChecked(deleted);
            dialog->FindNextButton()->click();
        });
        view->RouteCommand(cmd::kFind);
        return view->GetContainingKeyName() + " " + view->List()->GetSelectedValueName();
    };
    const std::string live = std::string(kUsers) + "\\000001F8 ForcePasswordReset";
    EXPECT_EQ(find(false), live);
    EXPECT_TRUE(view->CommandEnabled(cmd::kFindNext));
    app_->MainFrame()->RunCommand(cmd::kFindNext);
    EXPECT_EQ(prompter_.notices.size(), 1u);  // the end, with the selection kept
    EXPECT_EQ(view->GetContainingKeyName() + " " + view->List()->GetSelectedValueName(), live);
    EXPECT_FALSE(DeletedRecordsShown());

    EXPECT_EQ(find(true), std::string(kUsers) + "\\000003E8 ForcePasswordReset");
    EXPECT_TRUE(DeletedRecordsShown());
    EXPECT_TRUE(CRegistryTreeCtrl::KeyItemOf(view->Tree()->currentItem())->IsDeleted());
    app_->MainFrame()->RunCommand(cmd::kFindNext);
    EXPECT_EQ(prompter_.notices.size(), 2u);
    app_->OpenCurrentFileSet();
    EXPECT_FALSE(View()->CommandEnabled(cmd::kFindNext));
}

}  // namespace
}  // namespace hivora
