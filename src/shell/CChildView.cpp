#include "shell/CChildView.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "favorites/NavigationHistory.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "shell/FeatureCommands.h"
#include "shell/SplitterLayout.h"
#include "support/ui/CommandIds.h"
#include "values/ui/CRegValuesList.h"

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
    features::ConnectValueViewers(*this);
    dragBar_ = new DragBar(this);

    tree_->InsertRoots();
    RecalcLayout();
}

CChildView::~CChildView() = default;

std::string CChildView::GetStatusKeyPath() const {
    return tree_->GetKeyPath(true, true);
}

std::string CChildView::GetContainingKeyName() const {
    return tree_->GetKeyPath(false, false);
}

void CChildView::OnKeySelected() {
    const KeyItemData* record = tree_->GetSelectedKeyItem();
    if (record != nullptr) {
        features::RecordHistory(*record);
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
    list_->setColumnWidth(0, SplitterLayout::kNameColumn);
    list_->setColumnWidth(1, SplitterLayout::kTypeColumn);
    list_->setColumnWidth(2, SplitterLayout::DataColumnWidth(clientWidth));
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

bool CChildView::HandlesCommand(int id) const {
    if (id >= cmd::kFavoriteFirst && id <= cmd::kFavoriteLast) {
        return true;
    }
    switch (id) {
        case cmd::kFind:
        case cmd::kFindByDate:
        case cmd::kFindNext:
        case cmd::kAddToFavorites:
        case cmd::kManageFavorites:
        case cmd::kCopyKeyName:
        case cmd::kCopyValueName:
        case cmd::kCopyValueData:
        case cmd::kShowBinaryData:
        case cmd::kGoBack:
        case cmd::kGoForward:
        case cmd::kGoToRoot:
            return true;
        default:
            return false;
    }
}

bool CChildView::IsCommandEnabled(int id) const {
    switch (id) {
        case cmd::kFindNext:
            return features::HasSearchToRepeat(*this);
        case cmd::kAddToFavorites:
            return tree_->GetSelectedKeyItem() != nullptr;
        case cmd::kManageFavorites:
            return features::CanManageFavorites();
        case cmd::kShowBinaryData:
            return list_->HasSelection();
        case cmd::kGoBack:
            return features::CanGoBack();
        case cmd::kGoForward:
            return features::CanGoForward();
        default:
            return true;
    }
}

void CChildView::MoveTo(RootKey root, const std::string& subPath) {
    NavigationHistory::Suspend quiet(History());
    tree_->SelectKey(root, subPath);
}

void CChildView::OnCommand(int id) {
    if (id >= cmd::kFavoriteFirst && id <= cmd::kFavoriteLast) {
        std::string name;
        std::string subPath;
        RootKey root = 0;
        if (features::FavoriteAt(id - cmd::kFavoriteFirst, name, root, subPath)) {
            tree_->SelectKey(root, subPath);
        }
        return;
    }
    RootKey root = 0;
    std::string subPath;
    switch (id) {
        case cmd::kFind:
            if (features::RunFindDialog(*this)) {
                features::FindNext(*this);
            }
            break;
        case cmd::kFindByDate:
            if (features::RunFindByDateDialog(*this)) {
                features::FindNext(*this);
            }
            break;
        case cmd::kFindNext:
            features::FindNext(*this);
            break;
        case cmd::kAddToFavorites:
            if (const KeyItemData* record = tree_->GetSelectedKeyItem()) {
                features::AddToFavorites(*this, *record, GetContainingKeyName());
            }
            break;
        case cmd::kManageFavorites: {
            const int index = features::RunManageFavorites(*this);
            std::string name;
            if (index >= 0 && features::FavoriteAt(index, name, root, subPath)) {
                tree_->SelectKey(root, subPath);
            }
            break;
        }
        case cmd::kCopyKeyName:
            tree_->RouteCommand(cmd::kCopyKeyName);
            break;
        case cmd::kCopyValueName:
        case cmd::kCopyValueData:
            list_->RouteCommand(id);
            break;
        case cmd::kShowBinaryData:
            list_->ViewData(true);
            break;
        case cmd::kGoBack:
            if (features::TakeBack(root, subPath)) {
                MoveTo(root, subPath);
            }
            break;
        case cmd::kGoForward:
            if (features::TakeForward(root, subPath)) {
                MoveTo(root, subPath);
            }
            break;
        case cmd::kGoToRoot:
            tree_->SelectPath("");
            break;
        default:
            break;
    }
    emit commandStateChanged();
}

}  // namespace hivora
