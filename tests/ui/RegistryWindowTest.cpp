// The registry window on the sample hives: value commands and the three ways a command arrives
// (menu, shortcut, context menu).
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
}

}  // namespace
}  // namespace hivora
