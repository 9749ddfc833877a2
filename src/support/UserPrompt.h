// The questions and notices that the file-set rules put to the user, and the folder picker the
// folder scans ask. The desktop program answers with message boxes and a folder dialog; tests
// and the command-line tool answer directly.
#pragma once

#include <string>

namespace hivora {

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A Yes/No question without icon; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // A notice with an OK button and no icon.
    virtual void ShowNotice(const std::string& text) = 0;
};

class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder, or empty text when the user cancels.
    virtual std::string BrowseForFolder(const std::string& title) = 0;
};

}  // namespace hivora
