// Asking for the name of a file to write, with the program's "A|B|C|D||" filter texts. Tests
// install their own answer instead of the file chooser.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace hivora {

// The chosen path, or empty when the user cancelled. `filter` is in the "Text File
// (*.txt)|*.txt|All Files (*.*)|*.*||" form; `defaultExtension` in the "*.txt" form, added to
// a typed name that has no extension of its own.
QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExtension);

using SaveFileAsker =
    std::function<QString(QWidget* parent, const QString& filter, const QString& defaultExtension)>;
// Replaces the file chooser (an empty function restores it).
void SetSaveFileAsker(SaveFileAsker asker);

// "Text File (*.txt)|*.txt|All Files (*.*)|*.*||" -> "Text File (*.txt);;All Files (*.*)".
QString QtFilterFromPairs(const QString& filter);

}  // namespace hivora
