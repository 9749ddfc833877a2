// Runs a button's action the way commands run: the program's exception (and file errors)
// become a stop-icon message box over `parent`, and the window stays open.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace hivora {

void RunReportingErrors(QWidget* parent, const std::function<void()>& action);

// Tests collect the messages instead of showing boxes (an empty function restores the boxes).
void SetErrorSink(std::function<void(const std::string&)> sink);

}  // namespace hivora
