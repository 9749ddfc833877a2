#include "shell/CHiveBrowserApp.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include "fileset/FileSetRules.h"
#include "fileset/ui/COpenFilesMasterDlg.h"
#include "navigate/NavigateTo.h"
#include "shell/CMainFrame.h"
#include "shell/FeatureCommands.h"
#include "support/MyException.h"
#include "support/ui/CommandIds.h"
#include "support/ui/UiServices.h"
#include "viewers/ui/ViewerList.h"

namespace hivora {

namespace {

// Shows a file selected in the desktop's file manager; without a file manager that answers
// on the session bus, opens the folder that holds it.
void ShowInFileManager(const std::string& path) {
    const QUrl file = QUrl::fromLocalFile(ToQString(path));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{file.toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(QFileInfo(file.toLocalFile()).absolutePath()));
    }
}

}  // namespace

CHiveBrowserApp::CHiveBrowserApp() {
    SetOpenInExplorerHook(ShowInFileManager);
    fileSetDialog_ = [this](QWidget* parent) {
        MessageBoxPrompter prompter(parent);
        COpenFilesMasterDlg dialog(AppSettings(), prompter_ ? *prompter_ : prompter, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

CHiveBrowserApp::~CHiveBrowserApp() {
    SetOpenInExplorerHook(nullptr);
    CommandTarget::SetErrorReporter(nullptr);
    mainFrame_.reset();
}

bool CHiveBrowserApp::InitInstance(const std::optional<FileSet>& commandLineSet) {
    mainFrame_ = std::make_unique<CMainFrame>(*this);
    CommandTarget::SetErrorReporter(
        [this](const std::string& message) { ShowErrorBox(mainFrame_.get(), message); });
    mainFrame_->show();
    if (commandLineSet) {
        CurrentFileSet() = *commandLineSet;
        MessageBoxPrompter boxes(mainFrame_.get());
        Prompter& prompter = prompter_ ? *prompter_ : boxes;
        bool accepted = false;
        try {
            accepted = ConfirmFileSet(CurrentFileSet(), prompter, AppSettings());
        } catch (const CMyException& error) {
            prompter.ShowError(error.GetErrorMessage());
        }
        if (accepted) {
            OpenCurrentFileSet();
            return true;
        }
    }
    // Once the main window is on screen, the file-set dialog comes up over it.
    QTimer::singleShot(0, this, [this] { mainFrame_->RunCommand(cmd::kFileOpen); });
    return true;
}

void CHiveBrowserApp::OnFileOpen() {
    CloseAllViewers();
    if (!fileSetDialog_(mainFrame_.get())) {
        return;
    }
    OpenCurrentFileSet();
}

void CHiveBrowserApp::OpenCurrentFileSet() {
    features::ClearHistory();
    {
        WaitCursor wait;
        // A registry window opens whatever the loading found.
        LoadFileSet(CurrentFileSet());
    }
    mainFrame_->CreateRegistryWindow();
}

// The viewers themselves keep the one list (they join it when they open and leave it when
// they close); the application's operations act on it.
void CHiveBrowserApp::Prune() {}

void CHiveBrowserApp::AddViewer(QWidget* viewer) {
    AppViewers().AddViewer(viewer);
}

void CHiveBrowserApp::RemoveViewer(QWidget* viewer) {
    AppViewers().RemoveViewer(viewer);
}

int CHiveBrowserApp::ViewerCount() const {
    return AppViewers().ViewerCount();
}

QStringList CHiveBrowserApp::ViewerTitles() const {
    QStringList titles;
    for (int i = 0; i < AppViewers().ViewerCount(); ++i) {
        if (QWidget* viewer = AppViewers().Viewer(i)) {
            titles.push_back(viewer->windowTitle());
        }
    }
    return titles;
}

void CHiveBrowserApp::MinimizeAllViewers() {
    AppViewers().MinimizeAllViewers();
}

void CHiveBrowserApp::RestoreAllViewers() {
    AppViewers().RestoreAllViewers();
}

void CHiveBrowserApp::CloseAllViewers() {
    AppViewers().CloseAllViewers();
}

void CHiveBrowserApp::ActivateViewer(int index) {
    AppViewers().ActivateViewer(index);
}

bool CHiveBrowserApp::HandlesCommand(int id) const {
    if (id >= cmd::kViewerFirst && id <= cmd::kViewerLast) {
        return true;
    }
    switch (id) {
        case cmd::kFileOpen:
        case cmd::kHelp:
        case cmd::kTechSupport:
        case cmd::kAbout:
        case cmd::kMinimizeAll:
        case cmd::kRestoreAll:
        case cmd::kCloseAll:
            return true;
        default:
            return false;
    }
}

bool CHiveBrowserApp::IsCommandEnabled(int id) const {
    switch (id) {
        case cmd::kMinimizeAll:
        case cmd::kRestoreAll:
        case cmd::kCloseAll:
            return ViewerCount() > 0;
        default:
            return true;
    }
}

void CHiveBrowserApp::OnCommand(int id) {
    if (id >= cmd::kViewerFirst && id <= cmd::kViewerLast) {
        ActivateViewer(id - cmd::kViewerFirst);
        return;
    }
    switch (id) {
        case cmd::kFileOpen:
            OnFileOpen();
            break;
        case cmd::kHelp:
            OpenHelp();
            break;
        case cmd::kTechSupport:
            features::RequestTechSupport();
            break;
        case cmd::kAbout:
            features::ShowAbout(mainFrame_.get());
            break;
        case cmd::kMinimizeAll:
            MinimizeAllViewers();
            break;
        case cmd::kRestoreAll:
            RestoreAllViewers();
            break;
        case cmd::kCloseAll:
            CloseAllViewers();
            break;
        default:
            break;
    }
}

}  // namespace hivora
