// Shared pieces of the widget tests: the corpus file set, a scripted prompter and a fresh
// application with one registry window.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QString>
#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "support/ui/Prompter.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace hivora {

class CHiveBrowserApp;
class CChildView;

// Answers questions from a script (Yes when the script runs dry) and records every text.
class ScriptedPrompter : public Prompter {
public:
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }

    std::deque<bool> answers;
    std::vector<std::string> questions;
    std::vector<std::string> notices;
    std::vector<std::string> errors;
};

// The corpus folder, or empty when it is not there.
std::string CorpusDir();
// SYSTEM, SAM and NTUSER.DAT of the corpus; skips the test when absent.
#define HIVORA_REQUIRE_CORPUS()                                           \
    do {                                                                  \
        if (CorpusDir().empty()) {                                        \
            GTEST_SKIP() << "HIVORA_CORPUS is not set or holds no hives"; \
        }                                                                 \
    } while (false)
FileSet CorpusFileSet();

QAction* FindAction(QMenu* menu, int id);

// A main window with one registry window on the corpus set.
class RegistryWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    CChildView* View() const;

    std::unique_ptr<CHiveBrowserApp> app_;
    ScriptedPrompter prompter_;
};

}  // namespace hivora
