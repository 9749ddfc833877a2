// The registry window on real hives: tree, values list, path services, command enabling and
// the three ways a command arrives (menu, shortcut, context menu).
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

QStringList ChildTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) {
        texts.push_back(item->child(i)->text(0));
    }
    return texts;
}

QStringList Column(const CRegValuesList* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->RowCount(); ++row) {
        texts.push_back(QString::fromStdString(list->CellText(row, column)));
    }
    return texts;
}

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

TEST_F(RegistryWindowTest, NewWindowShowsTopItemRootsAndFileRows) {
    CRegistryTreeCtrl* tree = View()->Tree();
    QTreeWidgetItem* top = tree->TopItem();
    EXPECT_EQ(top->text(0), "Hivora Registry");
    EXPECT_TRUE(top->isExpanded());
    EXPECT_EQ(tree->currentItem(), top);
    ASSERT_EQ(ChildTexts(top), (QStringList{"HKEY_LOCAL_MACHINE", "HKEY_USERS"}));
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(top->child(i)->childCount(), 1);
        EXPECT_TRUE(CRegistryTreeCtrl::IsPlaceholder(top->child(i)->child(0)));
    }

    const CRegValuesList* list = View()->List();
    EXPECT_EQ(Column(list, 0), (QStringList{"NTUser", "System", "Software", "Security", "SAM",
                                            "BCD-Template", "Components", ".Default"}));
    EXPECT_EQ(Column(list, 1), QStringList(8, "<information>"));
    const QStringList data = Column(list, 2);
    EXPECT_TRUE(data[0].endsWith("regipy/NTUSER.DAT"));
    EXPECT_TRUE(data[1].endsWith("regipy/SYSTEM"));
    EXPECT_EQ(data[2], "<EMPTY>");
    EXPECT_TRUE(data[4].endsWith("regipy/SAM"));
    EXPECT_EQ(app_->MainFrame()->StatusText(), "Hivora Registry");
}

TEST_F(RegistryWindowTest, ExpandingFillsOnceSortedWithProbedPlaceholders) {
    CRegistryTreeCtrl* tree = View()->Tree();
    QTreeWidgetItem* machine = tree->TopItem()->child(0);
    machine->setExpanded(true);
    const QStringList hives = ChildTexts(machine);
    EXPECT_TRUE(hives.contains("system")) << hives.join(",").toStdString();
    EXPECT_TRUE(hives.contains("sam"));

    ASSERT_TRUE(tree->SelectPath("HKEY_LOCAL_MACHINE\\system"));
    QTreeWidgetItem* system = tree->currentItem();
    system->setExpanded(true);
    const QStringList children = ChildTexts(system);
    ASSERT_GT(children.size(), 3);
    QStringList sorted = children;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(children, sorted);
    // Each child was probed: an expand button exactly where the key has subkeys.
    for (int i = 0; i < system->childCount(); ++i) {
        QTreeWidgetItem* child = system->child(i);
        const KeyItemData* record = CRegistryTreeCtrl::KeyItemOf(child);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(child->childCount() == 1 && CRegistryTreeCtrl::IsPlaceholder(child->child(0)),
                  !record->populated)
            << child->text(0).toStdString();
    }
    // Collapsing and expanding again keeps the very same items.
    QTreeWidgetItem* first = system->child(0);
    system->setExpanded(false);
    system->setExpanded(true);
    EXPECT_EQ(system->child(0), first);
    EXPECT_EQ(system->childCount(), children.size());
}

TEST_F(RegistryWindowTest, PathTextsAndSelectionWalk) {
    CRegistryTreeCtrl* tree = View()->Tree();
    struct Row {
        const char* name;
        const char* path;
        bool found;
        const char* plain;  // the plain path selected afterwards
    };
    const Row rows[] = {
        {"case-blind walk", "hkey_local_machine\\SYSTEM\\select", true,
         "HKEY_LOCAL_MACHINE\\system\\Select"},
        {"one trailing backslash", "HKEY_LOCAL_MACHINE\\system\\", true,
         "HKEY_LOCAL_MACHINE\\system"},
        {"root alone", "HKEY_USERS", true, "HKEY_USERS"},
        {"empty path is the top item", "", true, "Hivora Registry"},
        {"empty component", "HKEY_LOCAL_MACHINE\\\\SYSTEM", false, "Hivora Registry"},
        {"labelled path", "Hivora Registry\\HKEY_USERS", false, "Hivora Registry"},
        {"other root", "HKEY_CURRENT_USER\\Software", false, "Hivora Registry"},
    };
    for (const Row& row : rows) {
        tree->SelectPath("");
        EXPECT_EQ(tree->SelectPath(row.path), row.found) << row.name;
        EXPECT_EQ(tree->GetKeyPath(false, false), row.plain) << row.name;
    }

    tree->SelectPath("HKEY_USERS");
    EXPECT_EQ(tree->GetKeyPath(false, true), "Hivora Registry\\HKEY_USERS");
    EXPECT_EQ(tree->GetKeyPath(true, true), "Hivora Registry\\HKEY_USERS");

    tree->SelectKey(kLocalMachine, "system\\Select");
    const std::string dated = tree->GetKeyPath(true, true);
    EXPECT_EQ(dated.rfind("Hivora Registry\\HKEY_LOCAL_MACHINE\\system\\Select (", 0), 0u) << dated;
    EXPECT_EQ(app_->MainFrame()->StatusText().toStdString(), dated);
    tree->SelectKey(kCurrentUser, "");
    EXPECT_EQ(tree->GetKeyPath(false, false), "HKEY_LOCAL_MACHINE\\system\\Select");
}

TEST_F(RegistryWindowTest, ValueRowsAreSortedWithTheMissingDefault) {
    ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    const CRegValuesList* list = View()->List();
    EXPECT_EQ(Column(list, 0),
              (QStringList{"(Default)", "Current", "Default", "Failed", "LastKnownGood"}));
    EXPECT_EQ(Column(list, 1),
              (QStringList{"REG_SZ", "REG_DWORD", "REG_DWORD", "REG_DWORD", "REG_DWORD"}));
    EXPECT_EQ(list->CellText(0, 2), "(value not set)");
    EXPECT_EQ(list->CellText(1, 2).rfind("0x0000000", 0), 0u);

    // A key without values shows the default row alone; a root shows it too.
    ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system"));
    EXPECT_EQ(Column(list, 0), QStringList{"(Default)"});
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

TEST_F(RegistryWindowTest, KeyboardNavigationShortcuts) {
    CMainFrame* frame = app_->MainFrame();
    CRegistryTreeCtrl* tree = View()->Tree();
    tree->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(tree->currentItem(), tree->TopItem());
    // Ctrl+O runs Open Registry Files through the application.
    int dialogs = 0;
    app_->SetFileSetDialog([&](QWidget*) {
        ++dialogs;
        return false;
    });
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(frame->RegistryWindows().size(), 1);
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

TEST_F(RegistryWindowTest, MenusHoldEveryItemWithItsNumber) {
    struct Item {
        int id;
        const char* text;
    };
    const std::vector<Item> menu129 = {
        {57600, "&Open Registry Files...\tCtrl+O"},
        {57602, "&Close"},
        {32823, "&Statistics..."},
        {32795, "&All"},
        {32813, "&Selected Branch"},
        {32805, "&All"},
        {32814, "&Selected Branch"},
        {57665, "E&xit"},
        {32773, "&Copy Key Name"},
        {32808, "Copy Value &Name"},
        {32807, "Copy &Value Data"},
        {57636, "&Find...\tCtrl+F"},
        {32778, "Find Ne&xt\tF3"},
        {32824, "Go To &Back\tAlt + Left"},
        {32825, "Go To &Forward\tAlt + Right"},
        {32827, "Go To Root\tAlt + Home"},
        {32792, "Show Binary Data"},
        {59392, "&Toolbar"},
        {59393, "&Status Bar"},
        {32780, "&Add To Favorites..."},
        {32781, "&Manage Favorites..."},
        {32820, "&Minimize All"},
        {32821, "&Restore All"},
        {32822, "&Close All"},
        {32782, "&Help\tF1"},
        {32810, "Tech &Support (email)"},
        {57664, "&About..."},
    };
    const std::vector<Item> menu128 = {
        {57600, "&Open Registry Files..."},
        {57665, "E&xit"},
        {59392, "&Toolbar"},
        {59393, "&Status Bar"},
        {32782, "&Help\tF1"},
        {32810, "Tech &Support (email)"},
        {57664, "&About..."},
    };
    CMainFrame* frame = app_->MainFrame();
    for (bool registry : {true, false}) {
        const std::vector<Item>& expected = registry ? menu129 : menu128;
        const QList<QAction*> items = frame->MenuItems(registry);
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.size())) << registry;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(items[static_cast<qsizetype>(i)]->data().toInt(), expected[i].id);
            EXPECT_EQ(items[static_cast<qsizetype>(i)]->text(), expected[i].text);
        }
    }
    QStringList buttons;
    for (QAction* action : frame->ToolBar()->actions()) {
        buttons.push_back(action->isSeparator() ? "|" : action->data().toString());
    }
    EXPECT_EQ(buttons.join(" "), "57600 | 57636 32777 32778 | 32773 32792 | 32780 | 57664");
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

TEST(MenuLists, NumberedItemsAreCutAndLimited) {
    QStringList names;
    for (int i = 1; i <= 25; ++i) {
        names.push_back(QStringLiteral("fav%1").arg(i));
    }
    names[1] = QString(80, 'x');
    const QStringList favourites = CMainFrame::NumberedMenuTexts(names, true);
    ASSERT_EQ(favourites.size(), 21);
    EXPECT_EQ(favourites[0], "&1 fav1\tCtrl+1");
    EXPECT_EQ(favourites[1], "&2 " + QString(60, 'x') + "\tCtrl+2");
    EXPECT_EQ(favourites[8], "&9 fav9\tCtrl+9");
    EXPECT_EQ(favourites[9], "fav10");
    EXPECT_EQ(favourites[20], "fav21");
    const QStringList viewers = CMainFrame::NumberedMenuTexts(names, false);
    EXPECT_EQ(viewers.size(), 21);
    EXPECT_EQ(viewers[12], "&13 fav13");
}

}  // namespace
}  // namespace hivora
