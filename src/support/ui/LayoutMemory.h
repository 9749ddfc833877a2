// What the desktop program remembers of its windows between runs (window geometry and state,
// the splitter, column widths, viewer sizes), kept in the "Layout" section of the settings.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <string_view>

namespace hivora {

void SaveLayoutBytes(std::string_view entry, const QByteArray& bytes);
// Empty when nothing was saved.
QByteArray LoadLayoutBytes(std::string_view entry);

void SaveLayoutNumbers(std::string_view entry, const QList<int>& numbers);
// Exactly `count` positive numbers, or none when the saved entry is missing or not that.
QList<int> LoadLayoutNumbers(std::string_view entry, int count);

}  // namespace hivora
