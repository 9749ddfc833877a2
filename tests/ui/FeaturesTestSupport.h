// Helpers of the feature widget tests: a prompter that records what it was asked and answers
// from a script, file-name answers instead of the file chooser, and a scratch folder.
#pragma once

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/ui/Prompter.h"
#include "viewers/ui/SaveFileName.h"

namespace hivora::test {

class ScriptedPrompter : public Prompter {
public:
    std::vector<std::string> questions;
    std::vector<std::string> notices;
    std::vector<std::string> errors;
    std::deque<bool> answers;  // Yes/No answers in order; No when the script runs out

    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Notify(const std::string& text) override { notices.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
};

// Answers every file question with `path` (empty: the user cancels) for the life of the
// object, and records the filters and default extensions asked with.
class FileAnswer {
public:
    explicit FileAnswer(QString path) : path_(std::move(path)) {
        SetFileNameAsker(
            [this](QWidget*, bool save, const QString& filter, const QString& extension) {
                asked.push_back({save, filter, extension});
                return path_;
            });
    }
    ~FileAnswer() { SetFileNameAsker({}); }
    FileAnswer(const FileAnswer&) = delete;
    FileAnswer& operator=(const FileAnswer&) = delete;

    struct Question {
        bool save;
        QString filter;
        QString extension;
    };
    std::vector<Question> asked;

private:
    QString path_;
};

// Acts on the next modal dialog of type Window once it is up (other modal windows, such as
// a busy indicator, may come first).
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

inline std::string ReadWholeFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace hivora::test
