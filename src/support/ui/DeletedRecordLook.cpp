#include "support/ui/DeletedRecordLook.h"

#include <QPainter>
#include <QPen>
#include <QPixmap>

namespace hivora {

QIcon DeletedVariant(const QIcon& icon) {
    constexpr int kSize = 16;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(0.55);
    icon.paint(&painter, pixmap.rect());
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 0, 0), 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8.5, 8.5), QPointF(14.5, 14.5));
    painter.drawLine(QPointF(14.5, 8.5), QPointF(8.5, 14.5));
    painter.end();
    return QIcon(pixmap);
}

QFont DeletedFont(QFont font) {
    font.setItalic(true);
    return font;
}

QBrush DeletedTextBrush() {
    return QBrush(QColor(110, 110, 110));
}

}  // namespace hivora
