#include "support/ui/CommandTarget.h"

#include <exception>

#include "support/MyException.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

std::function<void(const std::string&)>& Reporter() {
    static std::function<void(const std::string&)> reporter;
    return reporter;
}

void Report(const std::string& message) {
    if (Reporter()) {
        Reporter()(message);
    } else {
        ShowErrorBox(nullptr, message);
    }
}

}  // namespace

void CommandTarget::SetErrorReporter(std::function<void(const std::string&)> reporter) {
    Reporter() = std::move(reporter);
}

const CommandTarget* CommandTarget::FindHandler(int id) const {
    for (const CommandTarget* target = this; target != nullptr; target = target->next_) {
        if (target->HandlesCommand(id)) {
            return target;
        }
    }
    return nullptr;
}

bool CommandTarget::CommandEnabled(int id) const {
    const CommandTarget* handler = FindHandler(id);
    return handler != nullptr && handler->IsCommandEnabled(id);
}

bool CommandTarget::RouteCommand(int id) {
    auto* handler = const_cast<CommandTarget*>(FindHandler(id));
    if (handler == nullptr || !handler->IsCommandEnabled(id)) {
        return false;
    }
    try {
        handler->OnCommand(id);
    } catch (const CMyException& error) {
        Report(error.GetErrorMessage());
    } catch (const std::bad_alloc&) {
        Report("Out of memory.");
    }
    return true;
}

}  // namespace hivora
