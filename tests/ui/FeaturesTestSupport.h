// Helpers of the feature widget tests: file-name answers instead of the file chooser, and a scratch
// folder.
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

#include "UiTestSupport.h"
#include "viewers/ui/SaveFileName.h"

namespace hivora::test {

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
