#include "viewers/ui/ReportErrors.h"

#include "support/MyException.h"
#include "support/ui/UiServices.h"

namespace hivora {

namespace {

std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

}  // namespace

void SetErrorSink(std::function<void(const std::string&)> sink) {
    Sink() = std::move(sink);
}

void RunReportingErrors(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const CMyException& error) {
        if (Sink()) {
            Sink()(error.GetErrorMessage());
        } else {
            ShowErrorBox(parent, error.GetErrorMessage());
        }
    }
}

}  // namespace hivora
