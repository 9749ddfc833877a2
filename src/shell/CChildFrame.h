// A registry window: an always-maximised MDI child without a system menu that holds one view,
// with the Find All results below it, and handles Close, the exports and Statistics.
#pragma once

#include <QMdiSubWindow>
#include <functional>

#include "support/ui/CommandTarget.h"

namespace hivora {

class CChildView;
class FindAllPane;

class CChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT

public:
    explicit CChildFrame(QWidget* parent = nullptr);
    ~CChildFrame() override;

    CChildView* View() const { return view_; }
    // The Find All results under the view; hidden until the first Find All.
    FindAllPane* ResultsPane() const { return results_; }

    // The name of the file set the window shows. Kept out of windowTitle(): a maximised MDI
    // child's title would be appended to the main window's title behind the program's back.
    void SetCaption(const QString& caption) { caption_ = caption; }
    const QString& Caption() const { return caption_; }

    // Runs once when the window is destroyed (the program closes the data viewers and
    // clears the history there).
    void SetDestroyHandler(std::function<void()> handler) { onDestroy_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void NotifyGone();

    CChildView* view_ = nullptr;
    FindAllPane* results_ = nullptr;
    std::function<void()> onDestroy_;
    QString caption_;
};

}  // namespace hivora
