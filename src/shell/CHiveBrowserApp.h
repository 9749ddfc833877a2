// The application object: start-up, Open Registry Files, the list of open data viewers with
// the Window menu's commands, and the Help menu's commands.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "fileset/FileSet.h"
#include "support/ui/CommandTarget.h"

namespace hivora {

class CMainFrame;
class Prompter;

class CHiveBrowserApp : public QObject, public CommandTarget {
    Q_OBJECT

public:
    CHiveBrowserApp();
    ~CHiveBrowserApp() override;

    // Creates and shows the main window. With a file set from the command line, validates
    // it as Continue does and opens it at once; otherwise (or when it is refused) runs Open
    // Registry Files. Returns false when the main window could not be made.
    bool InitInstance(const std::optional<FileSet>& commandLineSet);

    CMainFrame* MainFrame() const { return mainFrame_.get(); }

    // Open Registry Files (57600).
    void OnFileOpen();
    // Loads the current file set, rebuilds the registry windows open on the set it replaces
    // and opens one more on it.
    void OpenCurrentFileSet();

    // The file-set dialog, replaceable for tests: true when it ended with OK.
    void SetFileSetDialog(std::function<bool(QWidget*)> dialog) {
        fileSetDialog_ = std::move(dialog);
    }
    // The questions asked for a command-line set (message boxes unless replaced).
    void SetPrompter(Prompter* prompter) { prompter_ = prompter; }
    Prompter* InstalledPrompter() const { return prompter_; }

    // The data viewer windows (not owned), in the order they opened.
    void AddViewer(QWidget* viewer);
    void RemoveViewer(QWidget* viewer);
    int ViewerCount() const;
    QStringList ViewerTitles() const;
    void MinimizeAllViewers();
    void RestoreAllViewers();
    void CloseAllViewers();
    void ActivateViewer(int index);

private:
    void OpenTechSupport();
    void ShowAbout();

    std::unique_ptr<CMainFrame> mainFrame_;
    std::function<bool(QWidget*)> fileSetDialog_;
    Prompter* prompter_ = nullptr;
};

}  // namespace hivora
