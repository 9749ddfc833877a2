// What the two data viewer windows share: modeless, owned by a parent window, placed by the
// cascade at the size the user last gave that kind of viewer, listed in the viewer list while they exist, gone (deleted) once closed.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace hivora {

class ViewerWindow : public QDialog {
    Q_OBJECT
public:
    explicit ViewerWindow(QWidget* parent);

    // Places the window by the cascade, adds it to the viewer list and shows it.
    void OpenAsViewer();

    // Close and Escape end up here: the window leaves the list and deletes itself.
    void done(int result) override;

protected:
    // A read-only line showing the start of `text` (a key path, a value name).
    static QLineEdit* ReadOnlyLine(const std::string& text);

    void closeEvent(QCloseEvent* event) override;

private:
    void RememberSize();
};

}  // namespace hivora
