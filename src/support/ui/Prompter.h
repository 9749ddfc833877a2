// How the program asks the user: Yes/No questions and OK notices without icon, and the error
// box with a stop icon. Message boxes answer in the program; tests answer from a script.
#pragma once

#include <string>

namespace hivora {

class Prompter {
public:
    virtual ~Prompter() = default;
    // True for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual void Notify(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
};

}  // namespace hivora
