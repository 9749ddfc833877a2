// Shared pieces of the widget tests: the bundled sample file set, a scripted prompter, a wait for
// a modal dialog, scratch settings, a hive written to a file and a fresh application with one
// registry window. It includes what nearly every widget test drives.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QString>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"
#include "support/HiveBuilder.h"
#include "support/Settings.h"
#include "support/TempPath.h"
#include "support/ui/CommandIds.h"
#include "support/ui/Prompter.h"
#include "values/ui/CRegValuesList.h"

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

// The unpacked samples (scripts/unpack-samples.sh): a folder with all but two slots' hives.
std::string SampleDir();
// SYSTEM, SAM and NTUSER.DAT of the samples.
FileSet SampleFileSet();

QAction* FindAction(QMenu* menu, int id);

// Acts on the next modal dialog of type Window once it is up.
template <typename Window>
void WhenModal(std::function<void(Window*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(window);
        }
    });
    timer->start();
}

// Settings of the test's own while it lives, so that what it changes does not reach later tests.
class ScratchSettings {
public:
    explicit ScratchSettings(SettingsStore* mine = nullptr) { SetAppSettings(mine ? mine : &own_); }
    ~ScratchSettings() { SetAppSettings(&before_); }

private:
    SettingsStore& before_ = AppSettings();
    MemorySettingsStore own_;
};

// Writes the built hive to `path`.
inline void WriteHive(const std::filesystem::path& path, const test::BuiltHive& built) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(built.bytes.data()),
               static_cast<std::streamsize>(built.bytes.size()));
}

// A main window with one registry window on the sample set.
class RegistryWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    CChildView* View() const;

    std::unique_ptr<CHiveBrowserApp> app_;
    ScriptedPrompter prompter_;
};

}  // namespace hivora
