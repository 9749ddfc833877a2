// What the two data viewer windows share: modeless, owned by a parent window, placed by the
// cascade at the size the user last gave that kind of viewer, listed in the viewer list while they exist, gone (deleted) once closed.
#pragma once

#include <QDialog>

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
    void closeEvent(QCloseEvent* event) override;

private:
    void RememberSize();
};

}  // namespace hivora
