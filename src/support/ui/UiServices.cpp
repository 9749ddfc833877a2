#include "support/ui/UiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <memory>

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

QString DialogDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    format.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    return format;
}

std::string DialogDateTime(std::time_t time) {
    const QLocale locale;
    // Seconds matter to a file time; a zone name does not.
    const QString clock = locale.timeFormat(QLocale::LongFormat).remove(QLatin1Char('t')).trimmed();
    return ToStdString(locale.toString(QDateTime::fromSecsSinceEpoch(time),
                                       DialogDateFormat(locale) + QLatin1Char(' ') + clock));
}

void FitOnScreen(QWidget* window, const QWidget* centre, bool place) {
    const QScreen* screen = centre != nullptr ? centre->screen() : window->screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds is not known before the window is shown; leave room.
    const QSize room = area.size() - QSize(16, 48);
    window->resize(window->size().boundedTo(room));
    if (!place) {
        return;
    }
    const QRect over = centre != nullptr ? centre->window()->frameGeometry() : area;
    QRect placed(QPoint(), window->size());
    placed.moveCenter(over.center());
    // Inside the free area, title bar included.
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() - placed.width()));
    placed.moveTop(std::clamp(placed.top(), area.top() + 32, area.bottom() - placed.height()));
    window->move(placed.topLeft());
}

void ApplyHeadingFont(QWidget* widget) {
    static const QFont font(QStringLiteral("Verdana"), 14);
    widget->setFont(font);
    widget->update();
}

namespace {

std::function<bool(const QUrl&)>& DesktopOpener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

QPointer<QTextBrowser>& HelpBrowser() {
    static QPointer<QTextBrowser> browser;
    return browser;
}

void ShowOwnHelpWindow(QWidget* owner, const QString& page) {
    QPointer<QTextBrowser>& browser = HelpBrowser();
    if (browser == nullptr || browser->parentWidget() != owner) {
        delete browser;
        // A window of its own that still belongs to `owner`, so that it can be used while
        // a modal dialog is up.
        browser = new QTextBrowser(owner);
        browser->setWindowFlags(Qt::Window);
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setObjectName(QStringLiteral("HelpWindow"));
        browser->setOpenExternalLinks(false);
        browser->resize(720, 560);
        FitOnScreen(browser, owner);
    }
    browser->setSource(QUrl::fromLocalFile(page));
    browser->setWindowTitle(browser->documentTitle().isEmpty()
                                ? MessageCaption() + QStringLiteral(" Help")
                                : browser->documentTitle());
    browser->show();
    browser->raise();
    browser->activateWindow();
}

}  // namespace

void OpenDesktopUrl(const QUrl& url, std::function<void()> failed) {
    auto fail = [failed = std::move(failed)] {
        if (failed) {
            failed();
        }
    };
    if (DesktopOpener()) {
        if (!DesktopOpener()(url)) {
            fail();
        }
        return;
    }
    // QDesktopServices only starts xdg-open and counts that as success, even when xdg-open
    // then finds no browser; run it here to hear how it ends.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(url)) {
            fail();
        }
        return;
    }
    // Never owned, so that a browser still running in its place outlives the program.
    auto* process = new QProcess;
    QElapsedTimer started;
    started.start();
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, fail](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             process->deleteLater();
                             fail();
                         }
                     });
    QObject::connect(
        process, &QProcess::finished, process,
        [process, fail, started](int code, QProcess::ExitStatus status) {
            process->deleteLater();
            // A browser that xdg-open ran and that ends later is not its failure.
            constexpr qint64 kAnswerMs = 10000;
            if ((status != QProcess::NormalExit || code != 0) && started.elapsed() < kAnswerMs) {
                fail();
            }
        });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(xdgOpen, {url.toString(QUrl::FullyEncoded)});
}

void SetDesktopUrlOpener(std::function<bool(const QUrl&)> opener) {
    DesktopOpener() = std::move(opener);
}

QTextBrowser* OwnHelpWindow() {
    return HelpBrowser();
}

void OpenHelp(Prompter& prompter, QWidget* parent) {
    const QString page = ToQString(HelpFilePath(kHelpFileName));
    if (!QFileInfo::exists(page)) {
        prompter.ShowError("The help pages are not installed: " + ToStdString(page) +
                           " was not found.");
        return;
    }
    QPointer<QWidget> owner = parent != nullptr ? parent->window() : nullptr;
    // `prompter` is the caller's and only lives while this runs; a failure heard later is
    // told in a message box.
    auto returned = std::make_shared<bool>(false);
    OpenDesktopUrl(QUrl::fromLocalFile(page), [&prompter, owner, page, returned] {
        const std::string text =
            "No web browser could be started to show the help pages. Hivora shows them in a "
            "window of its own.";
        if (*returned) {
            MessageBoxPrompter(owner).ShowNotice(text);
        } else {
            prompter.ShowNotice(text);
        }
        ShowOwnHelpWindow(owner, page);
    });
    *returned = true;
}

}  // namespace hivora
