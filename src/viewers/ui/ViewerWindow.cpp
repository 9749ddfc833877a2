#include "viewers/ui/ViewerWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <string>

#include "support/ui/LayoutMemory.h"
#include "support/ui/UiServices.h"
#include "viewers/ui/ViewerList.h"

namespace hivora {
namespace {

// "BinaryDataDialogSize": one remembered size per kind of viewer.
std::string SizeEntry(const QObject& viewer) {
    const std::string name = viewer.metaObject()->className();
    return name.substr(name.rfind(':') + 1) + "Size";
}

}  // namespace

QLineEdit* ViewerWindow::ReadOnlyLine(const std::string& text) {
    auto* edit = new QLineEdit(ToQString(text));
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

ViewerWindow::ViewerWindow(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

void ViewerWindow::OpenAsViewer() {
    if (const QList<int> size = LoadLayoutNumbers(SizeEntry(*this), 2); !size.isEmpty()) {
        resize(size[0], size[1]);
    }
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
    RememberSize();
    AppViewers().RemoveViewer(this);
    QDialog::done(result);
    close();
}

void ViewerWindow::RememberSize() {
    // Only a window that was shown has a size of the user's.
    if (isVisible() && !isMinimized()) {
        SaveLayoutNumbers(SizeEntry(*this), {width(), height()});
    }
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    RememberSize();
    AppViewers().RemoveViewer(this);
    QDialog::closeEvent(event);
}

}  // namespace hivora

#include "moc_ViewerWindow.cpp"
