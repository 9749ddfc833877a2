// The View Binary Data window: a value's bytes as a dump of bytes, words or double words,
// with copy, Save Dump and Export of the raw bytes. The dump list stays in offset order for
// values of any size. Beside the dump, the interpreter panel reads the bytes at one offset
// as numbers, times, identifiers and texts: selecting a dump line picks that line's first
// byte, and any offset can be typed in.
#pragma once

#include <cstddef>
#include <string>

#include "values/ValueItem.h"
#include "viewers/ui/ViewerWindow.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

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
    QLineEdit* OffsetEdit() const { return offsetEdit_; }
    QLabel* OffsetNote() const { return offsetNote_; }
    // Two columns: what the bytes are read as, and the reading.
    QTableWidget* InterpreterTable() const { return interpreter_; }

    // The offset the interpreter reads at; it selects the dump line holding that byte.
    size_t InterpretedOffset() const { return offset_; }
    void InterpretAt(size_t offset);

    void SaveDump();
    void ExportBytes();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillDump();
    void OffsetTyped();
    void SelectDumpLine(size_t offset);

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

    size_t offset_ = 0;
    QLineEdit* offsetEdit_;
    QLabel* offsetNote_;
    QTableWidget* interpreter_;
};

// Opens a View Binary Data window for a value of any type.
void ShowBinaryData(const std::string& keyPath, const ValueItem& value, QWidget* parent);

}  // namespace hivora
