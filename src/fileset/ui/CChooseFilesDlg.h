// The Choose Registry Files dialog: one editable, remembered field per hive slot with a
// Browse button; picking one system hive fills the other empty fields from its folder.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "fileset/FileSet.h"

class QComboBox;
class QPushButton;

namespace hivora {

class Prompter;
class SettingsStore;

class CChooseFilesDlg : public QDialog {
    Q_OBJECT

public:
    CChooseFilesDlg(SettingsStore& settings, Prompter& prompter, QWidget* parent = nullptr);

    // The file-open step of Browse, replaceable for tests: (current text, extension) → the
    // chosen path, or empty when cancelled.
    using FilePicker = std::function<std::string(const std::string&, const std::string&)>;
    void SetFilePicker(FilePicker picker) { pickFile_ = std::move(picker); }

    QComboBox* Field(HiveSlot slot) const;
    QPushButton* BrowseButton(HiveSlot slot) const;
    void Browse(HiveSlot slot);

    // OK: validates, stores the eight texts in the current file set and the history.
    void accept() override;

private:
    void AutoFill(const std::string& pickedPath);

    SettingsStore& settings_;
    Prompter& prompter_;
    std::array<QComboBox*, kHiveSlotCount> fields_{};
    std::array<QPushButton*, kHiveSlotCount> browse_{};
    FilePicker pickFile_;
};

}  // namespace hivora
