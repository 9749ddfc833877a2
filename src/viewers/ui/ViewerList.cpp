#include "viewers/ui/ViewerList.h"

#include <algorithm>

namespace hivora {

ViewerList& AppViewers() {
    static ViewerList* list = new ViewerList;
    return *list;
}

void ViewerList::AddViewer(QWidget* window) {
    viewers_.emplace_back(window);
    // A viewer destroyed by any path (Close, Escape, its owner going) leaves the list.
    connect(window, &QObject::destroyed, this, [this, window] { RemoveViewer(window); });
    emit ViewersChanged();
}

void ViewerList::RemoveViewer(QWidget* window) {
    // Entries of windows already gone go too; the guarded pointer of a window being destroyed
    // may already read null.
    const size_t before = viewers_.size();
    auto it = std::find_if(viewers_.begin(), viewers_.end(),
                           [window](const auto& entry) { return entry.data() == window; });
    if (it != viewers_.end()) {
        viewers_.erase(it);
    }
    std::erase_if(viewers_, [](const auto& entry) { return entry.isNull(); });
    if (viewers_.empty()) {
        viewers_.shrink_to_fit();
    }
    if (viewers_.size() != before) {
        emit ViewersChanged();
    }
}

QWidget* ViewerList::Viewer(int index) const {
    if (index < 0 || index >= ViewerCount()) {
        return nullptr;
    }
    return viewers_[static_cast<size_t>(index)].data();
}

void ViewerList::MinimizeAllViewers() {
    for (const auto& viewer : viewers_) {
        if (viewer) {
            viewer->showMinimized();
        }
    }
}

void ViewerList::RestoreAllViewers() {
    for (const auto& viewer : viewers_) {
        if (viewer) {
            viewer->showNormal();
        }
    }
}

void ViewerList::CloseAllViewers() {
    // Closing removes entries from the list, so walk a copy.
    const std::vector<QPointer<QWidget>> copy = viewers_;
    for (const auto& viewer : copy) {
        if (viewer) {
            viewer->close();
        }
    }
}

void ViewerList::ActivateViewer(int index) {
    QWidget* viewer = Viewer(index);
    if (viewer == nullptr) {
        return;
    }
    viewer->showNormal();
    viewer->raise();
    viewer->activateWindow();
    viewer->setFocus();
}

void ViewerList::CascadeViewer(QWidget* window, QPoint basePosition) {
    const CascadePlacement::Offset offset = ViewerCascade().CascadeViewer(viewers_.size());
    window->move(basePosition + QPoint(offset.x, offset.y));
}

}  // namespace hivora

#include "moc_ViewerList.cpp"
