// The four export commands: the save dialog, the export itself (with the windows kept
// painted), and the completion message with the counter report.
#pragma once

#include <string>

#include "export/ExportFormat.h"

class QWidget;

namespace hivora {

class Prompter;

// `branch` empty exports everything. Returns false when the user cancelled the save dialog;
// a failing export throws the program's exception with its message.
bool RunExport(QWidget* parent, ExportStyle style, const std::string& branch, Prompter& prompter);

}  // namespace hivora
