// The Open Registry Files Master dialog: the one door to a new registry window. The user
// assembles the current file set, sees it described and leaves with Continue or Cancel.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "fileset/ui/FileSetRules.h"

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
    void SetFolderPicker(ui::FolderPicker picker) { pickFolder_ = std::move(picker); }
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
    ui::FolderPicker pickFolder_;
    std::function<bool(QWidget*)> chooseFiles_;
};

}  // namespace hivora
