#include "shell/CHiveBrowserApp.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include "favorites/NavigationHistory.h"
#include "fileset/FileSetRules.h"
#include "fileset/HiveFileState.h"
#include "fileset/ui/COpenFilesMasterDlg.h"
#include "navigate/NavigateTo.h"
#include "shell/CMainFrame.h"
#include "support/MyException.h"
#include "support/TextBuffer.h"
#include "support/Version.h"
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
        OpenDesktopUrl(QUrl::fromLocalFile(QFileInfo(file.toLocalFile()).absolutePath()), {});
    }
}

}  // namespace

CHiveBrowserApp::CHiveBrowserApp() {
    SetOpenInExplorerHook(ShowInFileManager);
    AddCommand(cmd::kFileOpen, [this] { OnFileOpen(); });
    AddCommand(cmd::kHelp, [this] {
        PrompterFor prompter(prompter_, mainFrame_.get());
        OpenHelp(*prompter, mainFrame_.get());
    });
    AddCommand(cmd::kTechSupport, [this] { OpenTechSupport(); });
    AddCommand(cmd::kAbout, [this] { ShowAbout(); });
    const Rule anyViewer = [this] { return ViewerCount() > 0; };
    AddCommand(cmd::kMinimizeAll, [this] { MinimizeAllViewers(); }, anyViewer);
    AddCommand(cmd::kRestoreAll, [this] { RestoreAllViewers(); }, anyViewer);
    AddCommand(cmd::kCloseAll, [this] { CloseAllViewers(); }, anyViewer);
    AddCommandRange(cmd::kViewerFirst, cmd::kViewerLast,
                    [this](int index) { ActivateViewer(index); });
    fileSetDialog_ = [this](QWidget* parent) {
        PrompterFor prompter(prompter_, parent);
        COpenFilesMasterDlg dialog(AppSettings(), *prompter, parent);
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
        PrompterFor chosen(prompter_, mainFrame_.get());
        Prompter& prompter = *chosen;
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
    // The viewers and the history speak of the set that is going away.
    CloseAllViewers();
    History().ClearHistory();
    {
        WaitCursor wait;
        // A registry window opens whatever the loading found.
        LoadFileSet(CurrentFileSet());
        mainFrame_->RebuildRegistryWindows();
    }
    mainFrame_->CreateRegistryWindow();
    // A chosen file that did not load is named, with the reason, over the window it is
    // missing from.
    std::string failures;
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        const std::string failure = HiveLoadFailure(CurrentFileSet(), static_cast<HiveSlot>(slot));
        if (!failure.empty()) {
            failures += "\r\n" + failure;
        }
    }
    if (!failures.empty()) {
        PrompterFor prompter(prompter_, mainFrame_.get());
        (*prompter).ShowError("These files were not opened:" + failures);
    }
}

// The viewers themselves keep the one list (they join it when they open and leave it when
// they close); the application's operations act on it.
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

void CHiveBrowserApp::OpenTechSupport() {
    // The address carries the subject as it is; QUrl encodes what a browser needs.
    const std::string address = TechSupportAddress(ProgramVersion());
    OpenDesktopUrl(QUrl(ToQString(address)), [self = QPointer(this), address] {
        if (self == nullptr) {
            return;
        }
        CopyTextToClipboard(address);
        PrompterFor prompter(self->prompter_, self->mainFrame_.get());
        (*prompter).ShowNotice("No web browser could be started to open the support request "
                               "page:\r\n" + address + "\r\nThe address is on the clipboard.");
    });
}

void CHiveBrowserApp::ShowAbout() {
    const QString product = QString::fromLatin1(kProductPageAddress);
    QMessageBox::about(
        mainFrame_.get(), QStringLiteral("About ") + MessageCaption(),
        QStringLiteral("<h3>%1</h3><p>%2<br>Qt %3</p><p>A viewer for Windows registry hive files: "
                       "browse, search and export the keys and values of hives copied from another "
                       "Windows installation, a backup or a disk image, without ever writing to "
                       "them.</p><p>Copyright (c) 2026 Quenwick. Free software under the MIT "
                       "licence.</p><p><a href=\"%4\">%4</a></p>")
            .arg(ToQString(GetVersionText(-1)).toHtmlEscaped(),
                 ToQString(GetVersionText(2)).toHtmlEscaped(), QString::fromLatin1(qVersion()),
                 product.toHtmlEscaped()));
}

}  // namespace hivora
