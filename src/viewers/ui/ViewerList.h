// The open data viewer windows (Value Data and View Binary Data), in the order they were
// opened, with the Window menu's operations over them and the cascade that places new ones.
// The list does not own the windows; a window leaves the list when it is destroyed.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "viewers/ViewerSupport.h"

namespace hivora {

class ViewerList : public QObject {
    Q_OBJECT
public:
    // The Window menu lists this many viewers at most.

    void AddViewer(QWidget* window);
    void RemoveViewer(QWidget* window);
    int ViewerCount() const { return static_cast<int>(viewers_.size()); }
    QWidget* Viewer(int index) const;

    void MinimizeAllViewers();
    void RestoreAllViewers();
    void CloseAllViewers();
    void ActivateViewer(int index);

    // Moves a new window (not yet listed) by the cascade offset from `basePosition`.
    void CascadeViewer(QWidget* window, QPoint basePosition);


signals:
    void ViewersChanged();

private:
    std::vector<QPointer<QWidget>> viewers_;
};

// The process's one list.
ViewerList& AppViewers();

}  // namespace hivora
