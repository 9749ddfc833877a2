#include "shell/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "favorites/FavoriteStore.h"
#include "favorites/NavigationHistory.h"
#include "fileset/FileSetDescription.h"
#include "fileset/FileSetTitle.h"
#include "fileset/HiveFileState.h"
#include "hive/HiveEngine.h"
#include "hive/HiveSet.h"
#include "keys/DeletedKeyIndex.h"
#include "keys/KeyItemData.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "shell/CChildFrame.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/StatusPane.h"
#include "support/Settings.h"
#include "support/TextConvert.h"
#include "support/ui/CommandIds.h"
#include "support/ui/LayoutMemory.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

constexpr int kMaxListed = 21;
constexpr int kMaxNameLength = 60;
constexpr int kFavoritesKept = 2;
constexpr const char* kViewSection = "View";
constexpr const char* kShowDeletedEntry = "ShowDeletedRecords";
constexpr int kWindowItemsKept = 6;  // three commands, a separator, Next and Previous

struct Accelerator {
    const char* keys;
    int command;
};

// Accelerator table 128. Paste, copy, cut, undo and the pane keys are left to the focused
// control: the program has no handler of its own for them.
constexpr Accelerator kAccelerators[] = {
    {"Ctrl+1", cmd::kFavoriteFirst + 0},
    {"Ctrl+2", cmd::kFavoriteFirst + 1},
    {"Ctrl+3", cmd::kFavoriteFirst + 2},
    {"Ctrl+4", cmd::kFavoriteFirst + 3},
    {"Ctrl+5", cmd::kFavoriteFirst + 4},
    {"Ctrl+6", cmd::kFavoriteFirst + 5},
    {"Ctrl+7", cmd::kFavoriteFirst + 6},
    {"Ctrl+8", cmd::kFavoriteFirst + 7},
    {"Ctrl+9", cmd::kFavoriteFirst + 8},
    {"Ctrl+C", cmd::kCopyKeyName},
    {"Ctrl+F", cmd::kFind},
    {"Ctrl+O", cmd::kFileOpen},
    {"Backspace", cmd::kGoBack},
    {"Alt+Left", cmd::kGoBack},
    {"Alt+Right", cmd::kGoForward},
    {"Alt+Home", cmd::kGoToRoot},
    {"F3", cmd::kFindNext},
    {"F1", cmd::kHelp},
    {"Ctrl+Tab", cmd::kNextWindow},
    {"Ctrl+Shift+Tab", cmd::kPreviousWindow},
};

}  // namespace

CMainFrame::CMainFrame(CHiveBrowserApp& application) : app_(application) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(MessageCaption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/hivora.png")));
    SetNextTarget(&application);
    AddCommand(cmd::kExit, [this] { close(); });
    AddCommand(cmd::kViewToolbar, [this] { toolBar_->setVisible(!toolBar_->isVisibleTo(this)); });
    AddCommand(cmd::kViewStatusBar,
               [this] { statusBar()->setVisible(!statusBar()->isVisibleTo(this)); });
    ShowDeletedRecords(AppSettings().GetProfileInt(kViewSection, kShowDeletedEntry, 0) != 0);
    AddCommand(cmd::kShowDeletedRecords, [this] { ToggleDeletedRecords(); });
    const Rule severalWindows = [this] { return frames_.size() > 1; };
    AddCommand(
        cmd::kNextWindow, [this] { CycleRegistryWindows(1); }, severalWindows);
    AddCommand(
        cmd::kPreviousWindow, [this] { CycleRegistryWindows(-1); }, severalWindows);
    AddCommandRange(cmd::kRegistryWindowFirst, cmd::kRegistryWindowLast, [this](int index) {
        if (index < frames_.size()) {
            ActivateRegistryWindow(frames_[index]);
        }
    });

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setViewMode(QMdiArea::SubWindowView);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCentralWidget(mdiArea_);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* frame = qobject_cast<CChildFrame*>(window); frames_.contains(frame)) {
            current_ = frame;
        }
        UpdateCommandUI();
    });
    emptyHint_ = new QLabel(
        QStringLiteral("No registry files are open.\n\nChoose File > Open Registry Files... "
                       "(Ctrl+O) to open a set of hive files."),
        mdiArea_);
    emptyHint_->setObjectName(QStringLiteral("EmptyAreaHint"));
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyHint_->setWordWrap(true);
    emptyHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    emptyHint_->setForegroundRole(QPalette::Light);
    mdiArea_->installEventFilter(this);

    BuildMenus();
    BuildToolBar();
    BuildAccelerators();

    statusPane_ = new StatusPane(this);
    statusBar()->addWidget(statusPane_, 1);
    damagePane_ = new QLabel(this);
    damagePane_->setObjectName(QStringLiteral("DamagePane"));
    damagePane_->hide();
    statusBar()->addPermanentWidget(damagePane_);

    // The registry-window menu is shown from the start, as it is while windows are open.
    ShowMenu(true);
    resize(1024, 720);
    // Remembered geometry places itself; a first start is centred by the program, so that the
    // file-set dialog coming up at once is centred over the window where it really is.
    const bool restored = restoreGeometry(LoadLayoutBytes("MainWindow"));
    FitOnScreen(this, nullptr, !restored);
    restoreState(LoadLayoutBytes("MainWindowState"));
    ShowEmptyAreaHint();
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
    closing_ = true;
    disconnect(mdiArea_, nullptr, this, nullptr);
    for (CChildFrame* frame : frames_) {
        frame->SetDestroyHandler(nullptr);
    }
}

QAction* CMainFrame::AddItem(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    commandActions_.push_back(action);
    return action;
}

void CMainFrame::BuildMenus() {
    auto newMenu = [this](const char* title, QList<QMenu*>& list) {
        auto* menu = new QMenu(QString::fromUtf8(title), this);
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
        list.push_back(menu);
        return menu;
    };
    auto addHelp = [&](QList<QMenu*>& list) {
        QMenu* help = newMenu("&Help", list);
        AddItem(help, "&Help\tF1", cmd::kHelp);
        help->addSeparator();
        AddItem(help, "Tech &Support (email)", cmd::kTechSupport);
        help->addSeparator();
        AddItem(help, "&About...", cmd::kAbout);
    };
    auto addViewToggles = [&](QMenu* view) {
        AddItem(view, "&Toolbar", cmd::kViewToolbar)->setCheckable(true);
        AddItem(view, "&Status Bar", cmd::kViewStatusBar)->setCheckable(true);
    };

    // Menu 128: no registry window open.
    QMenu* file = newMenu("&File", menus128_);
    AddItem(file, "&Open Registry Files...", cmd::kFileOpen);
    file->addSeparator();
    AddItem(file, "E&xit", cmd::kExit);
    addViewToggles(newMenu("&View", menus128_));
    addHelp(menus128_);

    // Menu 129: registry windows.
    file = newMenu("&File", menus129_);
    AddItem(file, "&Open Registry Files...\tCtrl+O", cmd::kFileOpen);
    AddItem(file, "&Close", cmd::kFileClose);
    file->addSeparator();
    AddItem(file, "&Statistics...", cmd::kStatistics);
    file->addSeparator();
    QMenu* exportReg = file->addMenu(QStringLiteral("Export to &REG File..."));
    AddItem(exportReg, "&All", cmd::kExportRegAll);
    AddItem(exportReg, "&Selected Branch", cmd::kExportRegBranch);
    QMenu* exportText = file->addMenu(QStringLiteral("Export to &Text File..."));
    AddItem(exportText, "&All", cmd::kExportTextAll);
    AddItem(exportText, "&Selected Branch", cmd::kExportTextBranch);
    for (QMenu* sub : {exportReg, exportText}) {
        connect(sub, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
    }
    file->addSeparator();
    AddItem(file, "E&xit", cmd::kExit);

    QMenu* edit = newMenu("&Edit", menus129_);
    AddItem(edit, "&Copy Key Name", cmd::kCopyKeyName);
    AddItem(edit, "Copy Value &Name", cmd::kCopyValueName);
    AddItem(edit, "Copy &Value Data", cmd::kCopyValueData);
    edit->addSeparator();
    AddItem(edit, "&Find...\tCtrl+F", cmd::kFind);
    AddItem(edit, "Find Ne&xt\tF3", cmd::kFindNext);

    QMenu* navigate = newMenu("&Navigate", menus129_);
    AddItem(navigate, "Go To &Back\tAlt + Left", cmd::kGoBack);
    AddItem(navigate, "Go To &Forward\tAlt + Right", cmd::kGoForward);
    AddItem(navigate, "Go To Root\tAlt + Home", cmd::kGoToRoot);

    QMenu* view = newMenu("&View", menus129_);
    AddItem(view, "Show Binary Data", cmd::kShowBinaryData);
    view->addSeparator();
    AddItem(view, "Show &Deleted Records", cmd::kShowDeletedRecords)->setCheckable(true);
    view->addSeparator();
    addViewToggles(view);

    QMenu* favorites = newMenu("F&avorites", menus129_);
    AddItem(favorites, "&Add To Favorites...", cmd::kAddToFavorites);
    AddItem(favorites, "&Manage Favorites...", cmd::kManageFavorites);
    connect(favorites, &QMenu::aboutToShow, this,
            [this, favorites] { FillFavoritesMenu(favorites); });

    QMenu* window = newMenu("&Window", menus129_);
    AddItem(window, "&Minimize All", cmd::kMinimizeAll);
    AddItem(window, "&Restore All", cmd::kRestoreAll);
    AddItem(window, "&Close All", cmd::kCloseAll);
    window->addSeparator();
    AddItem(window, "&Next Registry Window\tCtrl+Tab", cmd::kNextWindow);
    AddItem(window, "&Previous Registry Window\tCtrl+Shift+Tab", cmd::kPreviousWindow);
    connect(window, &QMenu::aboutToShow, this, [this, window] { FillWindowMenu(window); });

    addHelp(menus129_);
}

void CMainFrame::BuildToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("ToolBar128"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(true);
    struct Button {
        const char* icon;
        const char* tip;
        int id;
    };
    static constexpr Button kButtons[] = {
        {"open", "Open Registry Files", cmd::kFileOpen},
        {nullptr, nullptr, 0},
        {"find", "Find", cmd::kFind},
        {"find-date", "Find By Date", cmd::kFindByDate},
        {"find-next", "Find Next", cmd::kFindNext},
        {nullptr, nullptr, 0},
        {"copy-key", "Copy Key Name", cmd::kCopyKeyName},
        {"binary-data", "Show Binary Data", cmd::kShowBinaryData},
        {nullptr, nullptr, 0},
        {"add-favorite", "Add To Favorites", cmd::kAddToFavorites},
        {nullptr, nullptr, 0},
        {"about", "About", cmd::kAbout},
    };
    for (const Button& button : kButtons) {
        if (button.icon == nullptr) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = toolBar_->addAction(
            QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(button.icon))),
            QString::fromUtf8(button.tip));
        action->setData(button.id);
        action->setStatusTip(QString::fromUtf8(button.tip));
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        commandActions_.push_back(action);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::BuildAccelerators() {
    for (const Accelerator& accelerator : kAccelerators) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(accelerator.keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        const int id = accelerator.command;
        connect(shortcut, &QShortcut::activated, this, [this, id] { RunCommand(id); });
    }
}

void CMainFrame::ShowMenu(bool registryMenu) {
    if (showsRegistryMenu_ == registryMenu && !menuBar()->actions().isEmpty()) {
        return;
    }
    showsRegistryMenu_ = registryMenu;
    menuBar()->clear();
    for (QMenu* menu : registryMenu ? menus129_ : menus128_) {
        menuBar()->addMenu(menu);
    }
}

QList<QMenu*> CMainFrame::Menus(bool registryMenu) const {
    return registryMenu ? menus129_ : menus128_;
}

QList<QAction*> CMainFrame::MenuItems(bool registryMenu) const {
    QList<QAction*> items;
    std::function<void(QMenu*)> collect = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr) {
                collect(action->menu());
            } else if (!action->isSeparator() && action->data().isValid()) {
                items.push_back(action);
            }
        }
    };
    for (QMenu* menu : Menus(registryMenu)) {
        collect(menu);
    }
    return items;
}

QStringList CMainFrame::NumberedMenuTexts(const QStringList& names, bool favourites) {
    QStringList texts;
    for (int i = 0; i < names.size() && i < kMaxListed; ++i) {
        const QString name = names[i].left(kMaxNameLength);
        if (!favourites) {
            texts.push_back(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        } else if (i < 9) {
            texts.push_back(QStringLiteral("&%1 %2\tCtrl+%1").arg(i + 1).arg(name));
        } else {
            texts.push_back(name);
        }
    }
    return texts;
}

void CMainFrame::FillFavoritesMenu(QMenu* menu) {
    const QList<QAction*> items = menu->actions();
    for (int i = kFavoritesKept; i < items.size(); ++i) {
        menu->removeAction(items[i]);
        delete items[i];
    }
    QStringList names;
    Favorite favorite;
    while (names.size() < kMaxListed &&
           AppFavorites().GetFavorite(static_cast<size_t>(names.size()), favorite)) {
        names.push_back(ToQString(favorite.name));
    }
    const QStringList texts = NumberedMenuTexts(names, true);
    if (!texts.isEmpty()) {
        menu->addSeparator();
    }
    for (int i = 0; i < texts.size(); ++i) {
        const int id = cmd::kFavoriteFirst + i;
        QAction* action = menu->addAction(texts[i]);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }
}

void CMainFrame::FillWindowMenu(QMenu* menu) {
    const QList<QAction*> items = menu->actions();
    for (int i = kWindowItemsKept; i < items.size(); ++i) {
        menu->removeAction(items[i]);
        delete items[i];
    }
    const QStringList windows = RegistryWindowTexts();
    if (!windows.isEmpty()) {
        menu->addSeparator();
    }
    CChildFrame* active = ActiveRegistryWindow();
    for (int i = 0; i < windows.size(); ++i) {
        const int id = cmd::kRegistryWindowFirst + i;
        QAction* action = menu->addAction(windows[i]);
        action->setData(id);
        action->setCheckable(true);
        action->setChecked(frames_[i] == active);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }
    const QStringList texts = NumberedMenuTexts(app_.ViewerTitles(), false);
    if (!texts.isEmpty()) {
        menu->addSeparator();
    }
    for (int i = 0; i < texts.size(); ++i) {
        const int id = cmd::kViewerFirst + i;
        QAction* action = menu->addAction(texts[i]);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }
}

CChildFrame* CMainFrame::CreateRegistryWindow() {
    auto* frame = new CChildFrame();
    frame->SetNextTarget(this);
    frame->SetDestroyHandler([this, frame] { OnRegistryWindowGone(frame); });
    connect(frame->View(), &CChildView::commandStateChanged, this, [this] { UpdateCommandUI(); });
    mdiArea_->addSubWindow(frame);
    frames_.push_back(frame);
    frame->showMaximized();
    ActivateRegistryWindow(frame);
    frame->View()->SetPrompter(app_.InstalledPrompter());
    ShowFileSetNames();
    ShowMenu(true);
    ShowEmptyAreaHint();
    UpdateCommandUI();
    return frame;
}

void CMainFrame::OnRegistryWindowGone(CChildFrame* frame) {
    frames_.removeAll(frame);
    if (current_ == frame) {
        current_ = nullptr;
    }
    // Closing a registry window closes every data viewer and clears the shared history.
    app_.CloseAllViewers();
    History().ClearHistory();
    if (closing_) {
        return;
    }
    if (frames_.isEmpty()) {
        ShowMenu(false);
    }
    ShowEmptyAreaHint();
    ShowFileSetNames();
    UpdateCommandUI();
}

CChildFrame* CMainFrame::ActiveRegistryWindow() const {
    // A window that is closing may still be the MDI area's active one: only listed windows count.
    auto* active = qobject_cast<CChildFrame*>(mdiArea_->activeSubWindow());
    if (frames_.contains(active)) {
        return active;
    }
    // Without focus (no active top-level window) the MDI area reports no active child; the
    // one last made active is still the one shown.
    if (current_ != nullptr) {
        return current_;
    }
    return frames_.isEmpty() ? nullptr : frames_.back();
}

CChildView* CMainFrame::ActiveView() const {
    CChildFrame* frame = ActiveRegistryWindow();
    return frame != nullptr ? frame->View() : nullptr;
}

QList<CChildFrame*> CMainFrame::RegistryWindows() const {
    return frames_;
}

CommandTarget* CMainFrame::RouteStart() const {
    if (CChildView* view = ActiveView()) {
        return view;
    }
    return const_cast<CMainFrame*>(this);
}

bool CMainFrame::RunCommand(int id) {
    const bool ran = RouteStart()->RouteCommand(id);
    UpdateCommandUI();
    return ran;
}

bool CMainFrame::IsCommandAvailable(int id) const {
    return RouteStart()->CommandEnabled(id);
}

QString CMainFrame::DamageText() const {
    return damagePane_->text();
}

QString CMainFrame::StatusText() const {
    return statusPane_->FullText();
}

void CMainFrame::UpdateCommandUI() {
    if (closing_) {
        return;
    }
    for (QAction* action : commandActions_) {
        const int id = action->data().toInt();
        action->setEnabled(IsCommandAvailable(id));
        if (id == cmd::kViewToolbar) {
            action->setChecked(toolBar_->isVisibleTo(this));
        } else if (id == cmd::kViewStatusBar) {
            action->setChecked(statusBar()->isVisibleTo(this));
        } else if (id == cmd::kShowDeletedRecords) {
            action->setChecked(DeletedRecordsShown());
        }
    }
    QString damage;
    if (CChildView* view = ActiveView()) {
        statusPane_->SetFullText(ToQString(view->GetStatusKeyPath()));
        statusPane_->setEnabled(true);
        if (const KeyItemData* key = view->Tree()->GetSelectedKeyItem()) {
            if (const HiveImage* hive = HiveImageOfKey(key->root, ToUtf16(key->subPath))) {
                damage = ToQString(HiveFileDamage(hive->LoadReport().path));
            }
        }
    } else {
        statusPane_->SetFullText(QString());
        statusPane_->setEnabled(false);
    }
    damagePane_->setText(damage);
    damagePane_->setToolTip(damage);
    damagePane_->setVisible(!damage.isEmpty());
}

void CMainFrame::ShowFileSetNames() {
    const QString application = MessageCaption();
    if (frames_.isEmpty()) {
        setWindowTitle(application);
        return;
    }
    QString name = ToQString(FileSetTitle(CurrentFileSet()));
    if (!name.isEmpty() && SomeHiveReplayedFromLogs()) {
        name += QStringLiteral(" (logs applied)");
    }
    for (CChildFrame* frame : frames_) {
        frame->SetCaption(name);
    }
    setWindowTitle(name.isEmpty() ? application
                                  : QStringLiteral("%1 - [%2]").arg(application, name));
}

void CMainFrame::RebuildRegistryWindows() {
    DropDeletedIndexes();
    for (CChildFrame* frame : frames_) {
        frame->View()->Rebuild();
    }
    ShowFileSetNames();
    UpdateCommandUI();
}

void CMainFrame::ToggleDeletedRecords() {
    ShowDeletedRecords(!DeletedRecordsShown());
    AppSettings().WriteProfileInt(kViewSection, kShowDeletedEntry, DeletedRecordsShown() ? 1 : 0);
    for (CChildFrame* frame : frames_) {
        frame->View()->Rebuild();
    }
    UpdateCommandUI();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    SaveLayoutBytes("MainWindow", saveGeometry());
    SaveLayoutBytes("MainWindowState", saveState());
    mdiArea_->closeAllSubWindows();
    QMainWindow::closeEvent(event);
}

QStringList CMainFrame::RegistryWindowTexts() const {
    QStringList texts;
    for (int i = 0; i < frames_.size() && i < kMaxListed; ++i) {
        const QString set =
            frames_[i]->Caption().isEmpty() ? QStringLiteral("(no files)") : frames_[i]->Caption();
        texts.push_back(
            QStringLiteral("Registry Window %1: %2")
                .arg(i + 1)
                .arg(fontMetrics().elidedText(set, Qt::ElideMiddle,
                                              fontMetrics().averageCharWidth() * kMaxNameLength)));
    }
    return texts;
}

void CMainFrame::ActivateRegistryWindow(CChildFrame* frame) {
    current_ = frame;
    mdiArea_->setActiveSubWindow(frame);
    frame->raise();
    frame->View()->Tree()->setFocus();
    UpdateCommandUI();
}

void CMainFrame::CycleRegistryWindows(int step) {
    if (frames_.isEmpty()) {
        return;
    }
    const qsizetype count = frames_.size();
    const qsizetype at = std::max<qsizetype>(frames_.indexOf(ActiveRegistryWindow()), 0);
    ActivateRegistryWindow(frames_[((at + step) % count + count) % count]);
}

void CMainFrame::ShowEmptyAreaHint() {
    emptyHint_->setGeometry(mdiArea_->rect().adjusted(24, 24, -24, -24));
    emptyHint_->setVisible(frames_.isEmpty());
    emptyHint_->raise();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdiArea_ && event->type() == QEvent::Resize) {
        ShowEmptyAreaHint();
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace hivora
