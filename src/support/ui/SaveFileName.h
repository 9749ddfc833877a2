// Asking for the name of a file to write or read, with the program's "A|B|C|D||" filter
// texts. Tests install their own answer instead of the file chooser.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace hivora {

// The chosen path, or empty when the user cancelled. `filter` is in the "Text File
// (*.txt)|*.txt|All Files (*.*)|*.*||" form; `defaultExtension` in the "*.txt" form, added to
// a typed name that has no extension of its own.
QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExtension);

// The name of an existing file to read, or empty when the user cancelled.
QString AskOpenFileName(QWidget* parent, const QString& filter);

// Answers both questions instead of the file chooser; `save` tells which one is asked. An empty
// function restores the chooser.
using FileNameAsker = std::function<QString(QWidget* parent, bool save, const QString& filter,
                                            const QString& defaultExtension)>;
void SetFileNameAsker(FileNameAsker asker);

// "Text File (*.txt)|*.txt|All Files (*.*)|*.*||" -> "Text File (*.txt);;All Files (*.*)".
QString QtFilterFromPairs(const QString& filter);

}  // namespace hivora
