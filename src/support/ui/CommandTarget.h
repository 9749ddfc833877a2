// One link of the command route: a window or object that may handle command numbers. Each
// target declares its commands once, in a table of (number or range, handler, enabling rule).
// A command starts at one target and goes up the chain to the first target that declares it;
// that target's rule decides, and a disabled command never runs, wherever it came from (menu,
// toolbar, shortcut or context menu).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace hivora {

class CommandTarget {
public:
    using Rule = std::function<bool()>;

    virtual ~CommandTarget() = default;

    void SetNextTarget(CommandTarget* next) { next_ = next; }
    CommandTarget* NextTarget() const { return next_; }

    bool HandlesCommand(int id) const { return Find(id) != nullptr; }
    // This target's rule for a command it declares (true without a rule).
    bool IsCommandEnabled(int id) const;

    // The first target from this one up that handles `id`, or nullptr.
    const CommandTarget* FindHandler(int id) const;
    // True when some target handles `id` and its rule enables it now.
    bool CommandEnabled(int id) const;
    // Runs `id` at its handler when enabled; an exception that leaves the handler is shown
    // by the error reporter. Returns true when a handler ran.
    bool RouteCommand(int id);

    // Where messages of failed commands go (the program: a stop-icon box).
    static void SetErrorReporter(std::function<void(const std::string&)> reporter);

protected:
    // Declares command `id`; `enabled` empty means always enabled.
    void AddCommand(int id, std::function<void()> run, Rule enabled = {});
    // Declares the numbered commands first..last; `run` gets the offset from `first`.
    void AddCommandRange(int first, int last, std::function<void(int)> run, Rule enabled = {});

private:
    struct Command {
        int first;
        int last;
        std::function<void(int)> run;
        Rule enabled;
    };
    const Command* Find(int id) const;

    CommandTarget* next_ = nullptr;
    std::vector<Command> commands_;
};

}  // namespace hivora
