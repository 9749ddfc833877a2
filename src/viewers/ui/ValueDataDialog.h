// The Value Data window: one value's key path, name, type and data text, with copy, save and
// Navigate To. It holds its own copy of the value, so it outlives the values list's rows.
#pragma once

#include <functional>
#include <string>

#include "hive/RegistryTypes.h"
#include "navigate/NavigateTo.h"
#include "values/ValueItem.h"
#include "viewers/ui/ViewerWindow.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace hivora {

// Selects a key (root and sub-path) in the registry window that opened a viewer. The shell
// hands one in; it does nothing once that window is gone.
using KeySelector = std::function<void(RootKey root, const std::string& subPath)>;

class ValueDataDialog : public ViewerWindow {
    Q_OBJECT
public:
    // The window gets 100 pixels more for the lines of a multi-string.
    static constexpr int kMultiStringExtraHeight = 100;

    ValueDataDialog(const std::string& keyPath, const ValueItem& value, QWidget* parent,
                    KeySelector selectKey = {});

    const std::string& DataText() const { return dataText_; }
    const NavigationTarget& Target() const { return target_; }

    QLineEdit* KeyPathEdit() const { return keyPath_; }
    QLabel* NameLabel() const { return nameLabel_; }
    QLineEdit* NameEdit() const { return name_; }
    QPlainTextEdit* DataEdit() const { return data_; }
    QPushButton* CopyNameButton() const { return copyName_; }
    QPushButton* CopyDataButton() const { return copyData_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* NavigateButton() const { return navigate_; }
    QPushButton* CloseButton() const { return close_; }

    void SaveInFile();
    void NavigateTo();

private:
    ValueItem value_;
    std::string keyPathText_;
    std::string dataText_;
    NavigationTarget target_;
    KeySelector selectKey_;

    QLineEdit* keyPath_;
    QLabel* nameLabel_;
    QLineEdit* name_;
    QPlainTextEdit* data_;
    QPushButton* copyName_;
    QPushButton* copyData_;
    QPushButton* save_;
    QPushButton* navigate_;
    QPushButton* close_;
};

// Opens a Value Data window for string, expandable string, number and multi-string values.
// False (nothing opened) for any other type: the caller then shows the binary viewer.
bool ShowValueData(const std::string& keyPath, const ValueItem& value, QWidget* parent,
                   KeySelector selectKey = {});

}  // namespace hivora
