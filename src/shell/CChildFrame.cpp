#include "shell/CChildFrame.h"

#include <QCloseEvent>
#include <QSplitter>
#include <utility>

#include "export/ui/ExportCommand.h"
#include "export/ui/StatisticsDialog.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "search/ui/FindAllPane.h"
#include "shell/CChildView.h"
#include "support/ui/CommandIds.h"
#include "support/ui/UiServices.h"

namespace hivora {

CChildFrame::CChildFrame(QWidget* parent) : QMdiSubWindow(parent) {
    setObjectName(QStringLiteral("CChildFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    // No system menu and no caption buttons: the window has no Ctrl+F4/Ctrl+W bindings of
    // its own that could collide with the program's accelerators.
    setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint);
    setSystemMenu(nullptr);
    setWindowTitle(QString());
    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    view_ = new CChildView;
    view_->SetNextTarget(this);
    results_ = new FindAllPane;
    split->addWidget(view_);
    split->addWidget(results_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    setWidget(split);
    results_->SetPrompterSource([this] { return view_->InstalledPrompter(); });
    connect(view_, &CChildView::findAllRequested, this,
            [this, split](const SearchCriteria& criteria) {
                // The pane opens on a third of the window; later the user's sizes stay.
                const bool opening = results_->isHidden();
                results_->Start(criteria);
                if (opening) {
                    const int height = split->height();
                    split->setSizes({height - height / 3, height / 3});
                }
            });
    connect(results_, &FindAllPane::hitActivated, view_, &CChildView::ShowSearchHit);
    setFocusProxy(view_->Tree());

    auto exportTo = [this](ExportStyle style, bool branch) {
        PrompterFor prompter(view_->InstalledPrompter(), this);
        RunExport(this, style, branch ? view_->GetContainingKeyName() : std::string(), *prompter);
    };
    // A deleted key's path may name a live key of the same name: exports hold live keys only.
    auto branchSelected = [this] {
        const KeyItemData* record = view_->Tree()->GetSelectedKeyItem();
        return record != nullptr && !record->IsDeleted();
    };
    AddCommand(cmd::kFileClose, [this] { close(); });
    AddCommand(cmd::kExportRegAll, [exportTo] { exportTo(ExportStyle::Reg, false); });
    AddCommand(cmd::kExportRegBranch, [exportTo] { exportTo(ExportStyle::Reg, true); },
               branchSelected);
    AddCommand(cmd::kExportTextAll, [exportTo] { exportTo(ExportStyle::Text, false); });
    AddCommand(cmd::kExportTextBranch, [exportTo] { exportTo(ExportStyle::Text, true); },
               branchSelected);
    AddCommand(cmd::kStatistics, [this] { RunStatistics(this); });
}

CChildFrame::~CChildFrame() {
    NotifyGone();
}

void CChildFrame::NotifyGone() {
    // Closing deletes the window later; the program lets go of it at once.
    if (std::function<void()> handler = std::exchange(onDestroy_, nullptr)) {
        handler();
    }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) {
        NotifyGone();
    }
}

}  // namespace hivora
