// The registry window on the sample hives: command enabling and the three ways a command
// arrives (menu, shortcut, context menu).
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "UiTestSupport.h"
#include "favorites/FavoriteStore.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "shell/CChildFrame.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"
#include "support/ui/CommandIds.h"
#include "values/ui/CRegValuesList.h"

namespace hivora {
namespace {

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

TEST_F(RegistryWindowTest, ValueCommandsCopyAndOpenViewers) {
    ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    CRegValuesList* list = View()->List();
    CMainFrame* frame = app_->MainFrame();
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kShowBinaryData));
    list->SelectValueByName("current");
    ASSERT_EQ(list->GetSelectedValueName(), "Current");
    EXPECT_TRUE(frame->IsCommandAvailable(cmd::kShowBinaryData));

    EXPECT_TRUE(frame->RunCommand(cmd::kCopyValueName));
    EXPECT_EQ(Clipboard(), "Current");
    EXPECT_TRUE(frame->RunCommand(cmd::kCopyValueData));
    EXPECT_EQ(Clipboard().toStdString(), list->CellText(1, 2));

    QSignalSpy text(list, &CRegValuesList::showValueData);
    QSignalSpy binary(list, &CRegValuesList::showBinaryData);
    const QPoint cell = list->CellRect(1, 0).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_EQ(text.count(), 1);
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
    const int branchCommands[] = {cmd::kAddToFavorites, cmd::kExportRegBranch,
                                  cmd::kExportTextBranch};
    for (int id : branchCommands) {
        EXPECT_FALSE(frame->IsCommandAvailable(id)) << id;
    }
    tree->SelectPath("HKEY_LOCAL_MACHINE\\system");
    for (int id : branchCommands) {
        EXPECT_TRUE(frame->IsCommandAvailable(id)) << id;
    }
    // Always available in a registry window; the viewer commands wait for viewers.
    for (int id : {cmd::kFind, cmd::kFindByDate, cmd::kGoToRoot, cmd::kFileClose, cmd::kStatistics,
                   cmd::kExportRegAll, cmd::kFileOpen}) {
        EXPECT_TRUE(frame->IsCommandAvailable(id)) << id;
    }
    for (int id : {cmd::kMinimizeAll, cmd::kRestoreAll, cmd::kCloseAll}) {
        EXPECT_FALSE(frame->IsCommandAvailable(id)) << id;
    }
    // The menu items show the same rules once a menu is about to open.
    QAction* add = FindAction(frame->Menus(true)[4], cmd::kAddToFavorites);
    ASSERT_NE(add, nullptr);
    tree->SelectPath("");
    emit frame->Menus(true)[4]->aboutToShow();
    EXPECT_FALSE(add->isEnabled());
    // A disabled command does not run, whoever sends it.
    EXPECT_FALSE(View()->RouteCommand(cmd::kExportRegBranch));
    EXPECT_FALSE(tree->RouteCommand(cmd::kExportKeyReg));
}

TEST_F(RegistryWindowTest, CopyKeyNameFromMenuShortcutAndContextMenu) {
    CMainFrame* frame = app_->MainFrame();
    CRegistryTreeCtrl* tree = View()->Tree();

    QGuiApplication::clipboard()->clear();
    FindAction(frame->Menus(true)[1], cmd::kCopyKeyName)->trigger();
    EXPECT_EQ(Clipboard(), "Hivora Registry");

    tree->SelectPath("HKEY_USERS");
    QGuiApplication::clipboard()->clear();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), "Hivora Registry\\HKEY_USERS");

    tree->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select");
    QTreeWidgetItem* select = tree->currentItem();
    tree->SelectPath("");
    std::unique_ptr<QMenu> menu = tree->ContextMenuAt(tree->visualItemRect(select).center());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(tree->currentItem(), select);
    QAction* expand = FindAction(menu.get(), cmd::kExpandCollapse);
    ASSERT_NE(expand, nullptr);
    EXPECT_FALSE(expand->isEnabled());  // Select has no subkeys
    QGuiApplication::clipboard()->clear();
    FindAction(menu.get(), cmd::kCopyKeyName)->trigger();
    EXPECT_EQ(Clipboard(), "Hivora Registry\\HKEY_LOCAL_MACHINE\\system\\Select");

    // A key with an unexpanded placeholder may be expanded from the menu.
    QTreeWidgetItem* users = tree->TopItem()->child(1);
    users->setExpanded(false);
    menu = tree->ContextMenuAt(tree->visualItemRect(users).center());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(FindAction(menu.get(), cmd::kExpandCollapse)->isEnabled());

    // Below the last item: no menu and the selection stays.
    EXPECT_EQ(tree->ContextMenuAt(QPoint(5, tree->viewport()->height() - 2)), nullptr);
    EXPECT_EQ(tree->currentItem(), users);
}

TEST_F(RegistryWindowTest, BackAndForwardMoveWithoutRecording) {
    CMainFrame* frame = app_->MainFrame();
    CRegistryTreeCtrl* tree = View()->Tree();
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kGoBack));
    for (const char* path : {"HKEY_LOCAL_MACHINE\\system", "HKEY_LOCAL_MACHINE\\system\\Select",
                             "HKEY_LOCAL_MACHINE\\sam"}) {
        ASSERT_TRUE(tree->SelectPath(path)) << path;
    }
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(tree->GetKeyPath(false, false), "HKEY_LOCAL_MACHINE\\system\\Select");
    EXPECT_TRUE(frame->IsCommandAvailable(cmd::kGoForward));
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

TEST_F(RegistryWindowTest, ClosingTheLastWindowShowsMenu128AndEmptiesTheStatus) {
    CMainFrame* frame = app_->MainFrame();
    EXPECT_TRUE(frame->ShowsRegistryMenu());
    app_->OpenCurrentFileSet();
    EXPECT_EQ(frame->RegistryWindows().size(), 2);
    EXPECT_TRUE(frame->RunCommand(cmd::kFileClose));
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->RegistryWindows().size(), 1);
    EXPECT_TRUE(frame->ShowsRegistryMenu());
    EXPECT_TRUE(frame->RunCommand(cmd::kFileClose));
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->RegistryWindows().isEmpty());
    EXPECT_FALSE(frame->ShowsRegistryMenu());
    EXPECT_TRUE(frame->StatusText().isEmpty());
    // Window commands without a window are not available.
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kFileClose));
    EXPECT_FALSE(frame->IsCommandAvailable(cmd::kCopyKeyName));
}

TEST_F(RegistryWindowTest, FavoritesMenuListsStoredFavoritesAndCtrlDigitsGoThere) {
    FavoriteStore& store = AppFavorites();
    store.LoadFavorites();
    for (int i = 1; i <= 25; ++i) {
        store.AddFavorite(Favorite{"fav" + std::to_string(i), kLocalMachine,
                                   i == 2 ? "system\\Select" : "system"});
    }
    QMenu* favorites = app_->MainFrame()->Menus(true)[4];
    emit favorites->aboutToShow();
    const QList<QAction*> items = favorites->actions();
    ASSERT_EQ(items.size(), 2 + 1 + 21);
    EXPECT_EQ(items[3]->text(), "&1 fav1\tCtrl+1");
    EXPECT_EQ(items[23]->text(), "fav21");
    CRegistryTreeCtrl* tree = View()->Tree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(tree->GetKeyPath(false, false), "HKEY_LOCAL_MACHINE\\system\\Select");
    for (int i = 1; i <= 25; ++i) {
        store.DeleteFavorite("fav" + std::to_string(i));
    }
}

}  // namespace
}  // namespace hivora
