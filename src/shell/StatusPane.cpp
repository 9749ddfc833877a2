#include "shell/StatusPane.h"

#include <algorithm>

#include "support/ui/CutTextTips.h"

namespace hivora {

StatusPane::StatusPane(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("StatusPane104"));
    setTextInteractionFlags(Qt::NoTextInteraction);
    setTextFormat(Qt::PlainText);
}

void StatusPane::SetFullText(const QString& text) {
    fullText_ = text;
    Fit();
}

QSize StatusPane::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

void StatusPane::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void StatusPane::Fit() {
    // The date follows the path in parentheses: "...\Key (date)".
    qsizetype tail = 0;
    if (fullText_.endsWith(QLatin1Char(')'))) {
        if (const qsizetype open = fullText_.lastIndexOf(QStringLiteral(" (")); open >= 0) {
            tail = fullText_.size() - open;
        }
    }
    const int width = contentsRect().width() - 2 * margin();
    const QString shown = ElideKeepingTail(fullText_, tail, fontMetrics(), std::max(width, 0));
    setText(shown);
    setToolTip(shown == fullText_ ? QString() : fullText_);
}

}  // namespace hivora
