// Small Qt services shared by the desktop program's windows.
#pragma once

#include <QString>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "support/ui/Prompter.h"

class QAction;
class QLocale;
class QMenu;
class QTextBrowser;
class QUrl;
class QWidget;

namespace hivora {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toStdString();
}

// Message texts carry "\r\n" line ends; a Qt label wants "\n".
QString MessageText(std::string_view text);

// Points the core's copy commands (CopyTextToClipboard) at the system clipboard.
void InstallQtClipboard();

// The caption of every message box: the program's title.
QString MessageCaption();

// The stop-icon box that reports an exception that ended a command.
void ShowErrorBox(QWidget* parent, std::string_view text);

// Message boxes over `parent`: questions and notices without icon.
class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
    bool AskYesNo(const std::string& text) override;
    void ShowNotice(const std::string& text) override;
    void ShowError(const std::string& text) override;

private:
    QWidget* parent_;
};

// The prompter a command asks through: the installed one (a test's script) when there is one,
// else message boxes over `parent`.
class PrompterFor {
public:
    PrompterFor(Prompter* installed, QWidget* parent) : installed_(installed), boxes_(parent) {}
    Prompter& operator*() { return installed_ != nullptr ? *installed_ : boxes_; }

private:
    Prompter* installed_;
    MessageBoxPrompter boxes_;
};

// The wait cursor for the life of the object.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Adds a context-menu item that carries command `id`, greyed unless `enabled`, and runs `run`
// with the command's number when chosen.
QAction* AddCommandItem(QMenu& menu, const char* text, int id, bool enabled,
                        const std::function<void(int)>& run);
// Makes `item` the menu's default item, shown bold.
void SetDefaultItem(QMenu& menu, QAction* item);

// The locale's short date form with the year in four digits, for dates shown in dialogs.
QString DialogDateFormat(const QLocale& locale);
// A file time as dialogs show it: DialogDateFormat and the locale's time with seconds.
std::string DialogDateTime(std::time_t time);

// Shrinks `window` to the free area of its screen (a large scale factor or a small screen
// leaves less room than its default size wants) and, when `centre` is given, centres it over
// that widget's window (a null `centre` widget: over the screen). Placing it here rather than
// leaving it to the window manager keeps a dialog that opens at once centred over it.
void FitOnScreen(QWidget* window, const QWidget* centre = nullptr, bool place = true);

// Gives `widget` the one heading font of the program ("Verdana", 14 points).
void ApplyHeadingFont(QWidget* widget);

// Hands `url` to the desktop (browser, mail program). `failed` runs when nothing took it: no
// opener at all, or xdg-open ending in failure soon after (as it does when no browser is set
// up), so it may run after this returns. Tests replace the desktop with SetDesktopUrlOpener
// (false: nothing took it; an empty function restores the desktop).
void OpenDesktopUrl(const QUrl& url, std::function<void()> failed);
void SetDesktopUrlOpener(std::function<bool(const QUrl&)> opener);

// Opens the help page "index.htm" in the desktop's browser. When the desktop cannot, says so
// (through `prompter`, or a message box when the failure is heard after this returned) and
// shows the page in the program's own help window over `parent`; a page that is not there is
// reported instead.
void OpenHelp(Prompter& prompter, QWidget* parent);
// The program's own help window while it exists.
QTextBrowser* OwnHelpWindow();

}  // namespace hivora
