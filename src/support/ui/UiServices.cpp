#include "support/ui/UiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFont>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include "support/BuildInfo.h"
#include "support/TextBuffer.h"
#include "support/Version.h"

namespace hivora {

QString MessageText(std::string_view text) {
    QString result = ToQString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

void InstallQtClipboard() {
    SetClipboardSink([](std::string_view text) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard == nullptr) {
            return false;
        }
        clipboard->setText(ToQString(text));  // an empty text leaves an empty text item
        return true;
    });
}

QAction* AddCommandItem(QMenu& menu, const char* text, int id, bool enabled,
                        const std::function<void(int)>& run) {
    QAction* action = menu.addAction(QString::fromUtf8(text));
    action->setData(id);
    action->setEnabled(enabled);
    QObject::connect(action, &QAction::triggered, &menu, [run, id] { run(id); });
    return action;
}

void SetDefaultItem(QMenu& menu, QAction* item) {
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    menu.setDefaultAction(item);
}

QString MessageCaption() {
    return QString::fromLatin1(build::kApplicationName);
}

void ShowErrorBox(QWidget* parent, std::string_view text) {
    QMessageBox box(QMessageBox::Critical, MessageCaption(), MessageText(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

bool MessageBoxPrompter::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, MessageCaption(), MessageText(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompter::ShowNotice(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, MessageCaption(), MessageText(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

void MessageBoxPrompter::ShowError(const std::string& text) {
    ShowErrorBox(parent_, text);
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

void ApplyHeadingFont(QWidget* widget) {
    static const QFont font(QStringLiteral("Verdana"), 14);
    widget->setFont(font);
    widget->update();
}

void OpenHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(HelpFilePath(kHelpFileName))));
}

}  // namespace hivora
