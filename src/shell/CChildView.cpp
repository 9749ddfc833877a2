#include "shell/CChildView.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include "favorites/FavoriteStore.h"
#include "favorites/NavigationHistory.h"
#include "favorites/ui/FavoriteNameDialog.h"
#include "favorites/ui/ManageFavoritesDialog.h"
#include "keys/DeletedKeyIndex.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "search/ui/FindByDateDialog.h"
#include "search/ui/FindDialog.h"
#include "search/ui/FindNextCommand.h"
#include "shell/SplitterLayout.h"
#include "support/ui/CommandIds.h"
#include "support/ui/CutTextTips.h"
#include "support/ui/LayoutMemory.h"
#include "support/ui/UiServices.h"
#include "values/ValueItem.h"
#include "values/ui/CRegValuesList.h"
#include "viewers/ui/BinaryDataDialog.h"
#include "viewers/ui/ValueDataDialog.h"

namespace hivora {
namespace {

// The bar shown while dragging: a checkerboard over whatever lies below, the look of an
// inverted halftone bar.
class DragBar : public QWidget {
public:
    explicit DragBar(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QBrush(palette().color(QPalette::WindowText), Qt::Dense4Pattern));
    }
};

// What a search needs of a registry window.
class ViewSearchHost : public SearchHost {
public:
    explicit ViewSearchHost(CChildView& view) : view_(view) {}

    std::string SelectedKeyPath() const override { return view_.GetContainingKeyName(); }
    // The window's focus widget, not hasFocus(): the main window may not be active again yet
    // when a modal dialog (the Searching dialog of the previous hit) has just closed.
    bool ValuesListHasFocus() const override {
        return view_.List()->window()->focusWidget() == view_.List();
    }
    std::string SelectedValueName() const override { return view_.List()->GetSelectedValueName(); }
    void ShowKeyHit(const std::string& keyPath) override {
        view_.Tree()->SelectPath(keyPath);
        view_.Tree()->setFocus();
    }
    void ShowValueHit(const std::string& keyPath, const std::string& valueName) override {
        view_.Tree()->SelectPath(keyPath);
        view_.List()->SelectValueByName(valueName);
        view_.List()->setFocus();
    }
    std::pair<uint32_t, uint32_t> SelectedDeletedPlace() const override {
        if (ValuesListHasFocus()) {
            if (const auto place = view_.List()->SelectedDeletedPlace(); place.first != 0) {
                return place;
            }
        }
        const KeyItemData* record = view_.Tree()->GetSelectedKeyItem();
        if (record == nullptr || !record->IsDeleted()) {
            return {0, 0};
        }
        return {record->hiveGeneration, record->deletedOffset};  // 0 on the node of unknown parents
    }
    void ShowDeletedHit(const SearchResult& hit) override {
        if (!DeletedRecordsShown()) {
            view_.RouteCommand(cmd::kShowDeletedRecords);
        }
        CRegistryTreeCtrl* tree = view_.Tree();
        const bool value = hit.kind == MatchKind::ValueName || hit.kind == MatchKind::ValueData;
        if (hit.deletedKey != 0) {
            // The hive root's path: the root's name and the hive's.
            const size_t root = hit.keyPath.find('\\');
            const size_t end = hit.keyPath.find('\\', root + 1);
            tree->SelectDeletedKey(std::string_view(hit.keyPath).substr(0, end), hit.deletedHive,
                                   hit.deletedKey);
        } else {
            tree->SelectPath(hit.keyPath);
        }
        if (value) {
            view_.List()->SelectDeletedValue(hit.deletedOffset);
            view_.List()->setFocus();
        } else {
            tree->setFocus();
        }
    }

private:
    CChildView& view_;
};

}  // namespace

CChildView::CChildView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CChildView"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    setMouseTracking(true);

    list_ = new CRegValuesList(this);
    tree_ = new CRegistryTreeCtrl(this);
    tree_->AddRoot(kLocalMachine);
    tree_->AddRoot(kUsers);
    tree_->SetNextTarget(this);
    list_->SetNextTarget(this);
    list_->SetContainingKeyNameSource([this] { return GetContainingKeyName(); });
    list_->SetSelectKeyHandler(
        [this](RootKey root, const std::string& subPath) { tree_->SelectKey(root, subPath); });
    connect(tree_, &CRegistryTreeCtrl::keySelected, this, &CChildView::OnKeySelected);
    connect(list_, &CRegValuesList::rowSelectionChanged, this, &CChildView::commandStateChanged);
    ConnectValueViewers();
    AddCommands();
    dragBar_ = new DragBar(this);
    ShowCutCellTips(tree_);
    ShowCutCellTips(list_);

    if (const QList<int> saved = LoadLayoutNumbers("Splitter", 1); !saved.isEmpty()) {
        splitterPosition_ = saved[0];
    }
    // Widths the user gave the columns (here or in an earlier run) outlast window resizes.
    if (const QList<int> widths = LoadLayoutNumbers("ValueColumns", 3); !widths.isEmpty()) {
        for (int column = 0; column < 3; ++column) {
            list_->setColumnWidth(column, widths[column]);
        }
        userColumnWidths_ = true;
    }
    connect(list_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (settingColumnWidths_) {
            return;
        }
        userColumnWidths_ = true;
        SaveLayoutNumbers("ValueColumns", {list_->columnWidth(0), list_->columnWidth(1),
                                           list_->columnWidth(2)});
    });

    tree_->InsertRoots();
    RecalcLayout();
}

CChildView::~CChildView() = default;

std::string CChildView::GetStatusKeyPath() const {
    const KeyItemData* record = tree_->GetSelectedKeyItem();
    if (record != nullptr && record->origin == KeyItemData::Origin::kDeletedKey) {
        return tree_->GetKeyPath(true, true) + "   (deleted key)";
    }
    return tree_->GetKeyPath(true, true);
}

std::string CChildView::GetContainingKeyName() const {
    return tree_->GetKeyPath(false, false);
}

void CChildView::OnKeySelected() {
    const KeyItemData* record = tree_->GetSelectedKeyItem();
    // A deleted key's path cannot be walked back to: history holds live keys.
    if (record != nullptr && !record->IsDeleted()) {
        History().RecordKey({record->root, record->subPath});
    }
    list_->Fill(record);
    emit commandStateChanged();
}

void CChildView::RecalcLayout() {
    const QRect client = rect();
    tree_->setGeometry(SplitterLayout::TreeRect(client, splitterPosition_));
    list_->setGeometry(SplitterLayout::ListRect(client, splitterPosition_));
    // The viewport learns its new size only when the list is shown; work it out here so the
    // widths are right on the first layout too.
    int clientWidth = list_->width() - 2 * list_->frameWidth();
    if (list_->verticalScrollBar()->isVisible()) {
        clientWidth -= list_->verticalScrollBar()->width();
    }
    if (userColumnWidths_) {
        return;
    }
    settingColumnWidths_ = true;
    list_->setColumnWidth(0, SplitterLayout::kNameColumn);
    list_->setColumnWidth(1, SplitterLayout::kTypeColumn);
    list_->setColumnWidth(2, SplitterLayout::DataColumnWidth(clientWidth));
    settingColumnWidths_ = false;
}

void CChildView::resizeEvent(QResizeEvent*) {
    RecalcLayout();
}

void CChildView::ShowBar(int x) {
    dragBar_->setGeometry(x, 0, SplitterLayout::kBarWidth, height());
    dragBar_->show();
    dragBar_->raise();
}

void CChildView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !dragging_ &&
        SplitterLayout::BarHitRect(rect(), splitterPosition_).contains(pos)) {
        dragging_ = true;
        dragX_ = pos.x();
        ShowBar(dragX_);
    }
    QWidget::mousePressEvent(event);
}

void CChildView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragging_) {
        dragX_ = SplitterLayout::ClampDrag(pos.x(), width());
        ShowBar(dragX_);
        return;
    }
    if (SplitterLayout::BarHitRect(rect(), splitterPosition_).contains(pos)) {
        setCursor(Qt::SplitHCursor);
    } else {
        unsetCursor();
    }
}

void CChildView::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton) {
        EndDrag(true);
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void CChildView::EndDrag(bool apply) {
    if (!dragging_) {
        return;
    }
    dragBar_->hide();
    dragging_ = false;
    if (apply) {
        splitterPosition_ = SplitterLayout::PositionFromDrag(dragX_);
        SaveLayoutNumbers("Splitter", {splitterPosition_});
        RecalcLayout();
    }
}

void CChildView::CancelDrag() {
    EndDrag(false);
}

bool CChildView::event(QEvent* event) {
    switch (event->type()) {
        // Another window took the mouse: a modal box, a deactivation or hiding.
        case QEvent::WindowBlocked:
        case QEvent::WindowDeactivate:
        case QEvent::Hide:
        case QEvent::UngrabMouse:
            CancelDrag();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void CChildView::AddCommands() {
    AddCommand(cmd::kFind, [this] { RunFindCommand(false); });
    AddCommand(cmd::kFindByDate, [this] { RunFindCommand(true); });
    AddCommand(cmd::kFindNext, [this] { FindNext(); }, [this] { return CanFindNext(criteria_); });
    AddCommand(cmd::kAddToFavorites, [this] { AddToFavorites(); }, [this] {
        const KeyItemData* record = tree_->GetSelectedKeyItem();
        return record != nullptr && !record->IsDeleted();
    });
    AddCommand(cmd::kManageFavorites, [this] { ManageFavorites(); });
    AddCommandRange(cmd::kFavoriteFirst, cmd::kFavoriteLast,
                    [this](int index) { SelectFavorite(index); });
    AddCommand(cmd::kCopyKeyName, [this] { tree_->RouteCommand(cmd::kCopyKeyName); });
    AddCommand(cmd::kCopyValueName, [this] { list_->RouteCommand(cmd::kCopyValueName); });
    AddCommand(cmd::kCopyValueData, [this] { list_->RouteCommand(cmd::kCopyValueData); });
    AddCommand(cmd::kShowBinaryData, [this] { list_->ViewData(true); },
               [this] { return list_->HasSelection(); });
    AddCommand(cmd::kGoBack, [this] {
        if (const std::optional<HistoryEntry> entry = History().StepBack()) {
            MoveTo(entry->root, entry->subPath);
        }
    }, [] { return History().CanGoBack(); });
    AddCommand(cmd::kGoForward, [this] {
        if (const std::optional<HistoryEntry> entry = History().StepForward()) {
            MoveTo(entry->root, entry->subPath);
        }
    }, [] { return History().CanGoForward(); });
    AddCommand(cmd::kGoToRoot, [this] { tree_->SelectPath(""); });
}

void CChildView::RunFindCommand(bool dateDialog) {
    bool findAll = false;
    if (!(dateDialog ? EditDateCriteria(criteria_, this, &findAll)
                     : EditFindCriteria(criteria_, this, &findAll))) {
        return;
    }
    if (!findAll) {
        FindNext();
    } else if (PatternUsable()) {
        emit findAllRequested(criteria_);
        emit commandStateChanged();
    }
}

bool CChildView::PatternUsable() {
    return CheckSearchPattern(criteria_, [this](const std::string& error) {
        PrompterFor prompter(prompter_, this);
        (*prompter).ShowError(error);
    });
}

void CChildView::ShowSearchHit(const SearchResult& hit) {
    ViewSearchHost host(*this);
    hivora::ShowSearchHit(host, hit);
    emit commandStateChanged();
}

void CChildView::FindNext() {
    if (!PatternUsable()) {
        return;
    }
    ViewSearchHost host(*this);
    SearchNotice notice;
    if (prompter_ != nullptr) {
        notice = [prompter = prompter_](const std::string& text) { prompter->ShowNotice(text); };
    }
    RunFindNext(criteria_, host, this, notice);
    emit commandStateChanged();
}

void CChildView::AddToFavorites() {
    const KeyItemData* record = tree_->GetSelectedKeyItem();
    if (record == nullptr) {
        return;
    }
    const Favorite favorite{{}, record->root, record->subPath};
    PrompterFor prompter(prompter_, this);
    FavoriteNameDialog dialog(FavoriteNameDialog::Mode::Add, GetContainingKeyName(),
                              AppFavorites(), *prompter, this);
    if (dialog.exec() == QDialog::Accepted) {
        AppFavorites().AddFavorite({dialog.Name(), favorite.root, favorite.subPath});
    }
}

void CChildView::ManageFavorites() {
    PrompterFor prompter(prompter_, this);
    ManageFavoritesDialog dialog(AppFavorites(), *prompter, this);
    if (dialog.exec() == QDialog::Accepted) {
        SelectFavorite(dialog.ChosenIndex());
    }
}

void CChildView::SelectFavorite(int index) {
    Favorite favorite;
    if (index >= 0 && AppFavorites().GetFavorite(static_cast<size_t>(index), favorite)) {
        tree_->SelectKey(favorite.root, favorite.subPath);
    }
}

void CChildView::MoveTo(RootKey root, const std::string& subPath) {
    NavigationHistory::Suspend quiet(History());
    tree_->SelectKey(root, subPath);
}

void CChildView::ConnectValueViewers() {
    QPointer<CChildView> guarded(this);
    // Navigate To from a viewer selects in the window that opened it, while it exists.
    KeySelector selectKey = [guarded](RootKey root, const std::string& subPath) {
        if (guarded) {
            guarded->Tree()->SelectKey(root, subPath);
        }
    };
    connect(list_, &CRegValuesList::showValueData, this,
            [this, selectKey](const ValueItem& value, const QString& keyName) {
                if (!ShowValueData(keyName.toStdString(), value, this, selectKey)) {
                    ShowBinaryData(keyName.toStdString(), value, this);
                }
            });
    connect(list_, &CRegValuesList::showBinaryData, this,
            [this](const ValueItem& value, const QString& keyName) {
                ShowBinaryData(keyName.toStdString(), value, this);
            });
}

void CChildView::Rebuild() {
    NavigationHistory::Suspend quiet(History());
    tree_->Refill();
    emit commandStateChanged();
}

}  // namespace hivora
