#include "viewers/ui/ViewerWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "viewers/ui/ViewerList.h"

namespace hivora {

ViewerWindow::ViewerWindow(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

void ViewerWindow::OpenAsViewer() {
    // Where a dialog would first appear: centred over its owner, else on the screen.
    QRect area;
    if (QWidget* owner = parentWidget(); owner != nullptr) {
        area = owner->window()->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        area = screen->availableGeometry();
    }
    const QPoint base = area.center() - QPoint(width() / 2, height() / 2);
    AppViewers().CascadeViewer(this, base);
    AppViewers().AddViewer(this);
    show();
}

void ViewerWindow::done(int result) {
    AppViewers().RemoveViewer(this);
    QDialog::done(result);
    close();
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    AppViewers().RemoveViewer(this);
    QDialog::closeEvent(event);
}

}  // namespace hivora

#include "moc_ViewerWindow.cpp"
