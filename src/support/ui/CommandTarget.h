// One link of the command route: a window or object that may handle command numbers. A
// command starts at one target and goes up the chain to the first target that handles it;
// that target's enabling rule decides, and a disabled command never runs, wherever it came
// from (menu, toolbar, shortcut or context menu).
#pragma once

#include <functional>
#include <string>

namespace hivora {

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    void SetNextTarget(CommandTarget* next) { next_ = next; }
    CommandTarget* NextTarget() const { return next_; }

    virtual bool HandlesCommand(int id) const = 0;
    virtual bool IsCommandEnabled(int /*id*/) const { return true; }
    virtual void OnCommand(int id) = 0;

    // The first target from this one up that handles `id`, or nullptr.
    const CommandTarget* FindHandler(int id) const;
    // True when some target handles `id` and its rule enables it now.
    bool CommandEnabled(int id) const;
    // Runs `id` at its handler when enabled; an exception that leaves the handler is shown
    // by the error reporter. Returns true when a handler ran.
    bool RouteCommand(int id);

    // Where messages of failed commands go (the program: a stop-icon box).
    static void SetErrorReporter(std::function<void(const std::string&)> reporter);

private:
    CommandTarget* next_ = nullptr;
};

}  // namespace hivora
