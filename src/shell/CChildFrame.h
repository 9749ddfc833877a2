// A registry window: an always-maximised MDI child without a system menu that holds one view
// and handles Close, the exports and Statistics.
#pragma once

#include <QMdiSubWindow>
#include <functional>

#include "support/ui/CommandTarget.h"

namespace hivora {

class CChildView;

class CChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT

public:
    explicit CChildFrame(QWidget* parent = nullptr);
    ~CChildFrame() override;

    CChildView* View() const { return view_; }

    // Names the file set the window shows in its caption.
    void ShowFileSetName(const QString& name);

    // Runs once when the window is destroyed (the program closes the data viewers and
    // clears the history there).
    void SetDestroyHandler(std::function<void()> handler) { onDestroy_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void NotifyGone();

    CChildView* view_ = nullptr;
    std::function<void()> onDestroy_;
};

}  // namespace hivora
