// The arithmetic of a registry window: where the tree, the splitter bar and the list go, how
// far a drag may take the bar, and the column widths the layout gives the list.
#pragma once

#include <QRect>

namespace hivora {

struct SplitterLayout {
    static constexpr int kInitialPosition = 280;
    static constexpr int kBarWidth = 4;
    static constexpr int kDragMargin = 40;
    static constexpr int kNameColumn = 200;
    static constexpr int kTypeColumn = 110;
    static constexpr int kColumnReserve = 315;

    // The client rectangle less 3 px left, 5 top, 3 right and 4 bottom.
    static QRect Inner(const QRect& client);
    static QRect TreeRect(const QRect& client, int position);
    static QRect ListRect(const QRect& client, int position);
    // Where a press starts a drag.
    static QRect BarHitRect(const QRect& client, int position);
    // A drag x kept at least 40 from the left, then at most 40 from the right (so with a
    // client narrower than 80 the right limit wins).
    static int ClampDrag(int x, int clientWidth);
    // The tree width a drag released at `dragX` leaves.
    static int PositionFromDrag(int dragX) { return dragX - 3; }
    static int DataColumnWidth(int listClientWidth) { return listClientWidth - kColumnReserve; }
};

}  // namespace hivora
