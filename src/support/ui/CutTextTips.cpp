#include "support/ui/CutTextTips.h"

#include <QAbstractItemView>
#include <algorithm>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>

namespace hivora {
namespace {

class CutCellTipFilter : public QObject {
public:
    explicit CutCellTipFilter(QAbstractItemView* view) : QObject(view), view_(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || watched != view_->viewport()) {
            return false;
        }
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = view_->indexAt(help->pos());
        const QString text = index.isValid() ? CutCellText(*view_, index) : QString();
        if (text.isEmpty()) {
            return false;  // the model's own tooltip, if any
        }
        // The cell's own tooltip goes below the full text.
        const QString own = index.data(Qt::ToolTipRole).toString();
        QToolTip::showText(help->globalPos(), own.isEmpty() ? text : text + '\n' + own,
                           view_->viewport(), view_->visualRect(index));
        return true;
    }

private:
    QAbstractItemView* view_;
};

}  // namespace

QString CutCellText(const QAbstractItemView& view, const QModelIndex& index) {
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) {
        return {};
    }
    const QRect shown = view.visualRect(index).intersected(view.viewport()->rect());
    return view.sizeHintForIndex(index).width() > shown.width() ? text : QString();
}

void ShowCutCellTips(QAbstractItemView* view) {
    view->viewport()->installEventFilter(new CutCellTipFilter(view));
}

QString ElideKeepingTail(const QString& text, qsizetype keptTail, const QFontMetrics& metrics,
                         int width) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    keptTail = std::clamp<qsizetype>(keptTail, 0, text.size());
    const QString tail = text.right(keptTail);
    const int headWidth = std::max(0, width - metrics.horizontalAdvance(tail));
    return metrics.elidedText(text.left(text.size() - keptTail), Qt::ElideMiddle, headWidth) + tail;
}

}  // namespace hivora
