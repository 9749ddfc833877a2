// Runs a long registry walk on a worker thread while a modal window says what is going on, so
// that the program's windows keep painting and take no other command meanwhile. The walk
// reads the registry only through the back end, which keeps no shared mutable state.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;

namespace hivora {

class BusyDialog : public QDialog {
    Q_OBJECT
public:
    BusyDialog(const QString& text, QWidget* parent);

signals:
    void WorkDone();

protected:
    void reject() override {}  // the work has no cancel; Escape must not hide the dialog
    void closeEvent(QCloseEvent* event) override;

private:
    bool done_ = false;
};

// Runs `work` on a new thread and returns when it has ended; an exception it throws is thrown
// again here, on the calling thread.
void RunBusy(QWidget* parent, const QString& text, const std::function<void()>& work);

}  // namespace hivora
