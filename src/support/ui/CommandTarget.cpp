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

void CommandTarget::AddCommand(int id, std::function<void()> run, Rule enabled) {
    commands_.push_back({id, id, [run = std::move(run)](int) { run(); }, std::move(enabled)});
}

void CommandTarget::AddCommandRange(int first, int last, std::function<void(int)> run,
                                    Rule enabled) {
    commands_.push_back({first, last, std::move(run), std::move(enabled)});
}

const CommandTarget::Command* CommandTarget::Find(int id) const {
    for (const Command& command : commands_) {
        if (id >= command.first && id <= command.last) {
            return &command;
        }
    }
    return nullptr;
}

bool CommandTarget::IsCommandEnabled(int id) const {
    const Command* command = Find(id);
    return command != nullptr && (!command->enabled || command->enabled());
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
        const Command* command = handler->Find(id);
        command->run(id - command->first);
    } catch (const CMyException& error) {
        Report(error.GetErrorMessage());
    } catch (const std::bad_alloc&) {
        Report("Out of memory.");
    }
    return true;
}

}  // namespace hivora
