// How the tree and the values list set deleted records apart: a faded icon crossed in red,
// and grey italic text.
#pragma once

#include <QBrush>
#include <QFont>
#include <QIcon>

namespace hivora {

QIcon DeletedVariant(const QIcon& icon);
QFont DeletedFont(QFont font);
QBrush DeletedTextBrush();

}  // namespace hivora
