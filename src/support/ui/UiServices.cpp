#include "support/ui/UiServices.h"

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFont>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <cctype>

#include "support/BuildInfo.h"

namespace hivora {

QString MessageText(std::string_view text) {
    QString result = ToQString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

void CopyTextToClipboard(std::string_view text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(ToQString(text));
    }
}

QString MessageCaption() {
    return QStringLiteral("HivoraRegEdit");
}

void ShowErrorBox(QWidget* parent, std::string_view text) {
    QMessageBox box(QMessageBox::Critical, MessageCaption(), MessageText(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

bool MessageBoxPrompter::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, MessageCaption(), MessageText(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompter::Notify(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, MessageCaption(), MessageText(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

void MessageBoxPrompter::ShowError(const std::string& text) {
    ShowErrorBox(parent_, text);
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

void ApplyHeadingFont(QWidget* widget) {
    static const QFont font(QStringLiteral("Verdana"), 14);
    widget->setFont(font);
    widget->update();
}

std::string VersionText(int form) {
    std::string text = build::kProductName;
    if (form == -1) {
        return text;
    }
    text +=
        " v" + std::to_string(build::kVersionMajor) + "." + std::to_string(build::kVersionMinor);
    if (build::kVersionPatch != 0) {
        text += std::to_string(build::kVersionPatch);
    }
    if (form == 1) {
        text += "." + std::to_string(build::kBuildNumber);
    } else if (form == 2) {
        text += " build " + std::to_string(build::kBuildNumber);
    }
    if (build::kPrerelease) {
        text += " BETA";
    }
    return text;
}

std::string FileBesideProgram(std::string_view name) {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string folder = length > 0 ? std::string(buffer, static_cast<size_t>(length)) : "";
    folder.erase(folder.find_last_of('/') + 1);
    std::string lower = folder;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto endsWith = [&](std::string_view tail) {
        return lower.size() >= tail.size() &&
               lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (endsWith("/debug/")) {
        folder.resize(folder.size() - 6);
    } else if (endsWith("/release/")) {
        folder.resize(folder.size() - 8);
    }
    return folder + std::string(name);
}

void OpenHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(FileBesideProgram("index.htm"))));
}

}  // namespace hivora
