// How the program asks the user: the file-set rules' Yes/No questions and notices, plus the
// stop-icon box that reports a command's failure. Message boxes answer in the program; tests
// answer from a script.
#pragma once

#include <string>

#include "support/UserPrompt.h"

namespace hivora {

class Prompter : public UserPrompt {
public:
    virtual void ShowError(const std::string& text) = 0;
};

}  // namespace hivora
