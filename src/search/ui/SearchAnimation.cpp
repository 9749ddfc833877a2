#include "search/ui/SearchAnimation.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace hivora {

namespace {

// One frame: a stack of three key folders and a magnifying glass that sweeps down over them
// and back, its lens catching the row it passes.
QPixmap DrawFrame(int index) {
    QPixmap pixmap(SearchAnimation::kFrameWidth, SearchAnimation::kFrameHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QColor folder(0xE8, 0xB8, 0x3A);
    const QColor folderEdge(0x9A, 0x6B, 0x10);
    for (int row = 0; row < 3; ++row) {
        const int x = 4 + row * 7;
        const int y = 6 + row * 14;
        QPainterPath tab;
        tab.addRoundedRect(QRectF(x, y, 9, 4), 1.5, 1.5);
        painter.fillPath(tab, folderEdge);
        painter.setPen(QPen(folderEdge, 1));
        painter.setBrush(folder);
        painter.drawRoundedRect(QRectF(x, y + 2, 22, 10), 2, 2);
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        painter.drawLine(QPointF(x + 25, y + 7), QPointF(x + 30, y + 7));
    }

    // Positions 0..8 go down over the rows and back up once per cycle.
    const double phase = index / double(SearchAnimation::kFrameCount) * 2.0 * M_PI;
    const double cx = 34 + 6 * std::sin(phase);
    const double cy = 25 - 14 * std::cos(phase);
    const double radius = 9;
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(cx + radius * 0.7, cy + radius * 0.7),
                     QPointF(cx + radius * 1.6, cy + radius * 1.6));
    painter.setPen(QPen(QColor(0x20, 0x40, 0x80), 2));
    painter.setBrush(QColor(0xA8, 0xD4, 0xFF, 150));
    painter.drawEllipse(QPointF(cx, cy), radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    painter.drawArc(QRectF(cx - radius + 3, cy - radius + 3, radius, radius), 90 * 16, 70 * 16);
    return pixmap;
}

}  // namespace

SearchAnimation::SearchAnimation(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kFrameWidth, kFrameHeight);
    timer_.setInterval(kFrameMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrameCount;
        update();
    });
}

const QVector<QPixmap>& SearchAnimation::Frames() {
    static const QVector<QPixmap> frames = [] {
        QVector<QPixmap> all;
        for (int i = 0; i < kFrameCount; ++i) {
            all.push_back(DrawFrame(i));
        }
        return all;
    }();
    return frames;
}

void SearchAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Frames()[frame_]);
}

void SearchAnimation::showEvent(QShowEvent*) {
    timer_.start();
}

void SearchAnimation::hideEvent(QHideEvent*) {
    timer_.stop();
}

}  // namespace hivora

#include "moc_SearchAnimation.cpp"
