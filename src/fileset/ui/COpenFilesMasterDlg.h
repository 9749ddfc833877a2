// The Open Registry Files Master dialog: the one door to a new registry window. The user
// assembles the current file set, sees it described and leaves with Continue or Cancel.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "support/UserPrompt.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace hivora {

class Prompter;
class SettingsStore;

class COpenFilesMasterDlg : public QDialog {
    Q_OBJECT

public:
    COpenFilesMasterDlg(SettingsStore& settings, Prompter& prompter, QWidget* parent = nullptr);

    // Replaceable for tests: the folder picker of the two scans, and the Choose Registry
    // Files dialog (true when it ended with OK).
    using FolderChooser = std::function<std::string(const std::string& title)>;
    void SetFolderPicker(FolderChooser picker) { pickFolder_ = std::move(picker); }
    void SetChooseFilesDialog(std::function<bool(QWidget*)> dialog) {
        chooseFiles_ = std::move(dialog);
    }

    QPushButton* Button(int id) const;
    QString Heading() const;
    QString Description() const;

    // The command of a button (control number), as when it is clicked.
    void RunButton(int id);

private:
    void Refresh();

    SettingsStore& settings_;
    Prompter& prompter_;
    QLabel* heading_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QCheckBox* applyLogs_ = nullptr;  // "Apply transaction logs"
    FolderChooser pickFolder_;
    std::function<bool(QWidget*)> chooseFiles_;
};

}  // namespace hivora
