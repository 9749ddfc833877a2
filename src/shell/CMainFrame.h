// The main window: menus 128 and 129, toolbar 128, the accelerators, the one-pane status bar
// and the MDI area that holds the registry windows. It routes each command to the active
// registry window's view first, then that window's frame, itself and the application.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <vector>

#include "support/ui/CommandTarget.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace hivora {

class CChildFrame;
class CChildView;
class CHiveBrowserApp;
class StatusPane;

class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT

public:
    explicit CMainFrame(CHiveBrowserApp& application);
    ~CMainFrame() override;

    CChildFrame* CreateRegistryWindow();
    CChildFrame* ActiveRegistryWindow() const;
    CChildView* ActiveView() const;
    QList<CChildFrame*> RegistryWindows() const;
    QMdiArea* MdiArea() const { return mdiArea_; }

    // A command from the menus, toolbar or accelerators.
    bool RunCommand(int id);
    bool IsCommandAvailable(int id) const;
    // Asks every rule again: enabled and checked states, and the status pane.
    void UpdateCommandUI();

    // Whether the registry-window menu (129) is the one shown, rather than 128.
    bool ShowsRegistryMenu() const { return showsRegistryMenu_; }
    // The items of menu 128 or 129 (separators and submenus excluded), in menu order.
    QList<QAction*> MenuItems(bool registryMenu) const;
    QList<QMenu*> Menus(bool registryMenu) const;
    QToolBar* ToolBar() const { return toolBar_; }
    QString StatusText() const;
    // What the status bar says is wrong with the selected key's hive; empty when nothing is.
    QString DamageText() const;

    // The numbered items of the Favorites and Window menus: at most 21, names cut to 60
    // characters; with shortcuts, the first nine read "&N name\tCtrl+N" and later ones
    // bare names, otherwise every one reads "&N name".
    static QStringList NumberedMenuTexts(const QStringList& names, bool favourites);

    // The registry windows in the Window menu's order, each with the file set it shows.
    QStringList RegistryWindowTexts() const;
    // Makes the registry window `step` places after (before, when negative) the active one
    // active, round the list.
    void CycleRegistryWindows(int step);
    // The line the empty area shows while no registry window is open (hidden otherwise).
    QLabel* EmptyAreaHint() const { return emptyHint_; }

    // After the file set was replaced: every registry window reads it afresh, and every
    // caption and the title name it.
    void RebuildRegistryWindows();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildAccelerators();
    QAction* AddItem(QMenu* menu, const char* text, int id);
    void ShowMenu(bool registryMenu);
    void FillFavoritesMenu(QMenu* menu);
    void FillWindowMenu(QMenu* menu);
    CommandTarget* RouteStart() const;
    void OnRegistryWindowGone(CChildFrame* frame);
    void ShowFileSetNames();
    // Shows or hides deleted records in every registry window, and remembers the choice.
    void ToggleDeletedRecords();
    void ActivateRegistryWindow(CChildFrame* frame);
    void ShowEmptyAreaHint();

    QMdiArea* mdiArea_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    StatusPane* statusPane_ = nullptr;
    // What is wrong with the hive of the selected key; hidden while nothing is.
    QLabel* damagePane_ = nullptr;
    QLabel* emptyHint_ = nullptr;
    // The registry window last made active; the MDI area forgets it while the program has
    // no active window.
    CChildFrame* current_ = nullptr;
    QList<QMenu*> menus128_;
    QList<QMenu*> menus129_;
    QList<QAction*> commandActions_;
    QList<CChildFrame*> frames_;
    bool showsRegistryMenu_ = false;
    bool closing_ = false;
    CHiveBrowserApp& app_;
};

}  // namespace hivora
