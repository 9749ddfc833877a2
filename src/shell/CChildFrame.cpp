#include "shell/CChildFrame.h"

#include <QCloseEvent>
#include <utility>

#include "keys/ui/CRegistryTreeCtrl.h"
#include "shell/CChildView.h"
#include "shell/FeatureCommands.h"
#include "support/ui/CommandIds.h"

namespace hivora {

CChildFrame::CChildFrame(QWidget* parent) : QMdiSubWindow(parent) {
    setObjectName(QStringLiteral("CChildFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    // No system menu and no caption buttons: the window has no Ctrl+F4/Ctrl+W bindings of
    // its own that could collide with the program's accelerators.
    setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint);
    setSystemMenu(nullptr);
    setWindowTitle(QString());
    view_ = new CChildView(this);
    view_->SetNextTarget(this);
    setWidget(view_);
    setFocusProxy(view_->Tree());
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

bool CChildFrame::HandlesCommand(int id) const {
    switch (id) {
        case cmd::kFileClose:
        case cmd::kExportRegAll:
        case cmd::kExportRegBranch:
        case cmd::kExportTextAll:
        case cmd::kExportTextBranch:
        case cmd::kStatistics:
            return true;
        default:
            return false;
    }
}

bool CChildFrame::IsCommandEnabled(int id) const {
    if (id == cmd::kExportRegBranch || id == cmd::kExportTextBranch) {
        return view_->Tree()->GetSelectedKeyItem() != nullptr;
    }
    return true;
}

void CChildFrame::OnCommand(int id) {
    switch (id) {
        case cmd::kFileClose:
            close();
            break;
        case cmd::kExportRegAll:
            features::ExportToReg(*this, {});
            break;
        case cmd::kExportRegBranch:
            features::ExportToReg(*this, view_->GetContainingKeyName());
            break;
        case cmd::kExportTextAll:
            features::ExportToText(*this, {});
            break;
        case cmd::kExportTextBranch:
            features::ExportToText(*this, view_->GetContainingKeyName());
            break;
        case cmd::kStatistics:
            features::ShowStatistics(*this);
            break;
        default:
            break;
    }
}

}  // namespace hivora
