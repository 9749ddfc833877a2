// The View Binary Data window: a value's bytes as a dump of bytes, words or double words,
// with copy, Save Dump and Export of the raw bytes. The dump list stays in offset order for
// values of any size.
#pragma once

#include <string>

#include "values/ValueItem.h"
#include "viewers/ui/ViewerWindow.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace hivora {

class BinaryDataDialog : public ViewerWindow {
    Q_OBJECT
public:
    enum Mode { kBytes = 0, kWords = 1, kDoubleWords = 2 };

    BinaryDataDialog(const std::string& keyPath, const ValueItem& value, QWidget* parent);

    int DumpMode() const { return mode_; }
    void SetMode(int mode);
    // Every line followed by CR LF.
    const std::string& DumpText() const { return dumpText_; }

    QLineEdit* KeyPathEdit() const { return keyPath_; }
    QLabel* NameLabel() const { return nameLabel_; }
    QLineEdit* NameEdit() const { return name_; }
    QLabel* DataLabel() const { return dataLabel_; }
    QListWidget* DumpList() const { return list_; }
    QRadioButton* ModeButton(int mode) const { return modes_[mode]; }
    QPushButton* CopyNameButton() const { return copyName_; }
    QPushButton* CopyDumpButton() const { return copyDump_; }
    QPushButton* SaveDumpButton() const { return saveDump_; }
    QPushButton* ExportButton() const { return export_; }

    void SaveDump();
    void ExportBytes();

private:
    void FillDump();

    std::string dumpText_;
    ValueItem value_;
    int mode_ = kBytes;
    std::string keyPathText_;

    QLineEdit* keyPath_;
    QLabel* nameLabel_;
    QLineEdit* name_;
    QLabel* dataLabel_;
    QListWidget* list_;
    QRadioButton* modes_[3];
    QPushButton* copyName_;
    QPushButton* copyDump_;
    QPushButton* saveDump_;
    QPushButton* export_;
    QPushButton* close_;
};

// Opens a View Binary Data window for a value of any type.
void ShowBinaryData(const std::string& keyPath, const ValueItem& value, QWidget* parent);

}  // namespace hivora
