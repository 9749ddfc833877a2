// The Statistics dialog and command: the counts of keys and values of everything the registry
// window shows, under the description of the file set.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace hivora {

class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    StatisticsDialog(const std::string& text, QWidget* parent = nullptr);
    QPlainTextEdit* TextBox() const { return text_; }

private:
    QPlainTextEdit* text_;
};

// The command: counts (keeping the windows painted), then shows the dialog modally.
void RunStatistics(QWidget* parent);

}  // namespace hivora
