// Draws the program's icons into res/icons: every picture at 16x16 and at 32x32 ("@2x").
// Run by hand after changing a drawing; the PNG files are what the build uses.
//   g++ -std=c++20 -fPIC DrawIcons.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw-icons
//   QT_QPA_PLATFORM=offscreen /tmp/draw-icons res/icons
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace {

const QColor kOutline(70, 70, 80);
const QColor kFolder(240, 196, 84);
const QColor kFolderDark(176, 128, 32);
const QColor kPaper(252, 252, 250);
const QColor kBlue(40, 100, 190);
const QColor kGreen(40, 150, 60);
const QColor kRed(190, 50, 40);

void Page(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3.5, r.top());
    path.lineTo(r.right(), r.top() + 3.5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 3.5, r.top()), QPointF(r.right() - 3.5, r.top() + 3.5));
    p.drawLine(QPointF(r.right() - 3.5, r.top() + 3.5), QPointF(r.right(), r.top() + 3.5));
}

void Text(QPainter& p, QRectF r, const QString& text, QColor color, double size, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(1);
    font.setPointSizeF(size);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void FolderClosed(QPainter& p) {
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(kFolder.darker(108));
    p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
    p.setBrush(kFolder);
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1, 1);
    p.setPen(QPen(kFolder.lighter(125), 1));
    p.drawLine(QPointF(2.5, 6), QPointF(13.5, 6));
}

void FolderOpen(QPainter& p) {
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(kFolder.darker(115));
    p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
    p.drawRoundedRect(QRectF(1.5, 4.5, 12, 9), 1, 1);
    QPainterPath front;
    front.moveTo(3.5, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.0, 13.5);
    front.lineTo(1.5, 13.5);
    front.closeSubpath();
    p.setBrush(kFolder.lighter(110));
    p.drawPath(front);
}

void Computer(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 10), 1, 1);
    p.setBrush(QColor(60, 130, 210));
    p.drawRect(QRectF(3, 3, 10, 7));
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(6.5, 11.5, 3, 2));
    p.drawRoundedRect(QRectF(3.5, 13.5, 9, 1.5), 0.5, 0.5);
}

void ValueText(QPainter& p) {
    Page(p, QRectF(2.5, 1.5, 11, 13));
    Text(p, QRectF(2.5, 4, 11, 10), QStringLiteral("ab"), kRed, 5.2, true);
}

void ValueBinary(QPainter& p) {
    Page(p, QRectF(2.5, 1.5, 11, 13));
    Text(p, QRectF(2.5, 3.2, 11, 6), QStringLiteral("011"), kBlue, 3.6, true);
    Text(p, QRectF(2.5, 8.0, 11, 6), QStringLiteral("100"), kBlue, 3.6, true);
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor color) {
    p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to + d * 1.5);
    head.lineTo(to - d * 2.0 + n * 2.6);
    head.lineTo(to - d * 2.0 - n * 2.6);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(head);
}

void Open(QPainter& p) {
    FolderOpen(p);
    Arrow(p, QPointF(9, 6), QPointF(12.5, 1.8), kGreen);
}

void Magnifier(QPainter& p, QPointF c, double r) {
    p.setPen(QPen(QColor(90, 60, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(r * 0.7, r * 0.7), c + QPointF(r * 1.75, r * 1.75));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(QColor(190, 225, 250, 220));
    p.drawEllipse(c, r, r);
}

void Find(QPainter& p) {
    Magnifier(p, QPointF(6.5, 6.5), 4.5);
}

void FindDate(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 2.5, 11, 10));
    p.setBrush(kRed);
    p.drawRect(QRectF(1.5, 2.5, 11, 2.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.drawRect(QRectF(3 + col * 3, 6.5 + row * 2.5, 1.5, 1.5));
        }
    }
    Magnifier(p, QPointF(10.5, 10.5), 2.6);
}

void FindNext(QPainter& p) {
    Magnifier(p, QPointF(5.5, 5.5), 4);
    Arrow(p, QPointF(8, 13), QPointF(13, 13), kGreen);
}

void CopyKey(QPainter& p) {
    Page(p, QRectF(1.5, 1.5, 8, 10));
    Page(p, QRectF(6.5, 4.5, 8, 10));
    p.setPen(QPen(kFolderDark, 1.4));
    p.setBrush(kFolder);
    p.drawEllipse(QPointF(9, 9), 1.6, 1.6);
    p.drawLine(QPointF(10.6, 9), QPointF(13, 9));
    p.drawLine(QPointF(12.5, 9), QPointF(12.5, 11));
}

void BinaryData(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(30, 40, 60));
    p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 1.2, 1.2);
    Text(p, QRectF(1.5, 2.5, 13, 6), QStringLiteral("0F"), QColor(120, 230, 140), 3.8, true);
    Text(p, QRectF(1.5, 7.5, 13, 6), QStringLiteral("A3"), QColor(120, 230, 140), 3.8, true);
}

void AddFavorite(QPainter& p) {
    QPainterPath star;
    const QPointF c(7, 8);
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? 6.5 : 2.8;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt = c + QPointF(std::cos(a) * r, std::sin(a) * r);
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(QColor(250, 210, 60));
    p.drawPath(star);
    p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(12.5, 9), QPointF(12.5, 15));
    p.drawLine(QPointF(9.5, 12), QPointF(15.5, 12));
}

void About(QPainter& p) {
    p.setPen(QPen(kBlue.darker(130), 1));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.8), 1.2, 1.2);
    p.drawRoundedRect(QRectF(7, 6.8, 2, 5.8), 0.6, 0.6);
}

void Hexagon(QPainter& p, QPointF c, double r) {
    QPainterPath hex;
    for (int i = 0; i < 6; ++i) {
        const double a = M_PI / 6 + i * M_PI / 3;
        const QPointF pt = c + QPointF(std::cos(a) * r, std::sin(a) * r);
        i == 0 ? hex.moveTo(pt) : hex.lineTo(pt);
    }
    hex.closeSubpath();
    p.drawPath(hex);
}

void Program(QPainter& p) {
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(QColor(245, 180, 50));
    Hexagon(p, QPointF(8, 8), 7.2);
    p.setPen(QPen(QColor(110, 70, 10), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 4.5), QPointF(5, 11.5));
    p.drawLine(QPointF(5, 6.5), QPointF(9, 6.5));
    p.drawLine(QPointF(5, 10), QPointF(9, 10));
    p.setBrush(kPaper);
    p.setPen(QPen(QColor(110, 70, 10), 1));
    p.drawRect(QRectF(9.5, 5.5, 2.5, 2));
    p.drawRect(QRectF(9.5, 9, 2.5, 2));
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const std::map<QString, std::function<void(QPainter&)>> icons = {
        {"folder-closed", FolderClosed},
        {"folder-open", FolderOpen},
        {"computer", Computer},
        {"value-text", ValueText},
        {"value-binary", ValueBinary},
        {"open", Open},
        {"find", Find},
        {"find-date", FindDate},
        {"find-next", FindNext},
        {"copy-key", CopyKey},
        {"binary-data", BinaryData},
        {"add-favorite", AddFavorite},
        {"about", About},
        {"hivora", Program},
    };
    for (const auto& [name, draw] : icons) {
        for (int scale : {1, 2, 4}) {
            if (scale == 4 && name != QStringLiteral("hivora")) {
                continue;
            }
            QImage image(16 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.scale(scale, scale);
            draw(painter);
            painter.end();
            const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
            image.save(QStringLiteral("%1/%2%3.png").arg(folder, name, suffix));
        }
    }
    return 0;
}
