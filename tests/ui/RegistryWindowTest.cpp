// The registry window on the sample hives: command enabling and the three ways a command
// arrives (menu, shortcut, context menu).
#include <QClipboard>
#include <QSignalSpy>

#include "UiTestSupport.h"

namespace hivora {
namespace {

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

TEST_F(RegistryWindowTest, ValueCommandsCopyAndOpenViewers) {
    CMainFrame* frame = app_->MainFrame();
    CRegValuesList* list = View()->List();
    ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kShowBinaryData));
    list->SelectValueByName("current");
    EXPECT_TRUE(frame->RunCommand(cmd::kCopyValueName));
    EXPECT_EQ(Clipboard(), "Current");
    EXPECT_TRUE(frame->RunCommand(cmd::kCopyValueData));
    EXPECT_EQ(Clipboard().toStdString(), list->CellText(1, 2));

    QSignalSpy text(list, &CRegValuesList::showValueData);
    QSignalSpy binary(list, &CRegValuesList::showBinaryData);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                       list->CellRect(1, 0).center());
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text.first().at(1).toString(), "HKEY_LOCAL_MACHINE\\system\\Select");
    EXPECT_TRUE(frame->RunCommand(cmd::kShowBinaryData));
    EXPECT_EQ(binary.count(), 1);
    // Double-clicking a file information row opens nothing.
    View()->Tree()->SelectPath("");
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                       list->CellRect(0, 0).center());
    EXPECT_EQ(text.count() + binary.count(), 2);
}

TEST_F(RegistryWindowTest, EnablingFollowsTheSelection) {
    CMainFrame* frame = app_->MainFrame();
    CRegistryTreeCtrl* tree = View()->Tree();
    QAction* add = FindAction(frame->Menus(true)[4], cmd::kAddToFavorites);
    ASSERT_NE(add, nullptr);
    for (const char* path : {"HKEY_LOCAL_MACHINE\\system", ""}) {
        tree->SelectPath(path);
        emit frame->Menus(true)[4]->aboutToShow();
        for (int id : {cmd::kAddToFavorites, cmd::kExportRegBranch, cmd::kExportTextBranch}) {
            EXPECT_EQ(frame->IsCommandAvailable(id), *path != 0) << id << path;
        }
        EXPECT_EQ(add->isEnabled(), *path != 0) << path;
    }
    EXPECT_TRUE(frame->IsCommandAvailable(cmd::kExportRegAll));
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kRestoreAll));  // no viewers yet
    // A disabled command does not run, whoever sends it.
    EXPECT_FALSE(View()->RouteCommand(cmd::kExportRegBranch));
    EXPECT_FALSE(tree->RouteCommand(cmd::kExportKeyReg));
}

TEST_F(RegistryWindowTest, CopyKeyNameFromMenuShortcutAndContextMenu) {
    CRegistryTreeCtrl* tree = View()->Tree();
    FindAction(app_->MainFrame()->Menus(true)[1], cmd::kCopyKeyName)->trigger();
    EXPECT_EQ(Clipboard(), "Hivora Registry");

    tree->SelectPath("HKEY_USERS");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), "Hivora Registry\\HKEY_USERS");

    // The context menu acts on the item under the mouse, which it selects.
    tree->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select");
    QTreeWidgetItem* select = tree->currentItem();
    tree->SelectPath("");
    std::unique_ptr<QMenu> menu = tree->ContextMenuAt(tree->visualItemRect(select).center());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(tree->currentItem(), select);
    EXPECT_FALSE(FindAction(menu.get(), cmd::kExpandCollapse)->isEnabled());  // no subkeys
    FindAction(menu.get(), cmd::kCopyKeyName)->trigger();
    EXPECT_EQ(Clipboard(), "Hivora Registry\\HKEY_LOCAL_MACHINE\\system\\Select");
    // Below the last item: no menu and the selection stays.
    EXPECT_EQ(tree->ContextMenuAt(QPoint(5, tree->viewport()->height() - 2)), nullptr);
    EXPECT_EQ(tree->currentItem(), select);
}

TEST_F(RegistryWindowTest, BackAndForwardMoveWithoutRecording) {
    CMainFrame* frame = app_->MainFrame();
    CRegistryTreeCtrl* tree = View()->Tree();
    for (const char* path : {"HKEY_LOCAL_MACHINE\\system", "HKEY_LOCAL_MACHINE\\system\\Select",
                             "HKEY_LOCAL_MACHINE\\sam"}) {
        ASSERT_TRUE(tree->SelectPath(path)) << path;
    }
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(tree->GetKeyPath(false, false), "HKEY_LOCAL_MACHINE\\system\\Select");
    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_EQ(tree->GetKeyPath(false, false), "HKEY_LOCAL_MACHINE\\system");
    QTest::keyClick(tree, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(tree, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(tree->GetKeyPath(false, false), "HKEY_LOCAL_MACHINE\\sam");
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kGoForward));
    // Closing a registry window clears the shared history.
    frame->RunCommand(cmd::kFileClose);
    app_->OpenCurrentFileSet();
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kGoBack));
}

}  // namespace
}  // namespace hivora
