// Text a view or label cannot show whole stays reachable: cut cells get the full text as their
// tooltip, and a long status text loses the middle of its path, never its ending.
#pragma once

#include <QString>

class QAbstractItemView;
class QFontMetrics;
class QModelIndex;

namespace hivora {

// The full text of a cell the view shows cut (elided, or running past the visible area);
// empty when the cell is shown whole.
QString CutCellText(const QAbstractItemView& view, const QModelIndex& index);

// Makes the view answer a tooltip request over a cut cell with CutCellText, followed on a line
// of its own by the cell's own tooltip when it has one.
void ShowCutCellTips(QAbstractItemView* view);

// `text` fitted into `width` pixels: the last `keptTail` characters stay whole and the middle
// of what precedes them gives way.
QString ElideKeepingTail(const QString& text, qsizetype keptTail, const QFontMetrics& metrics,
                         int width);

}  // namespace hivora
