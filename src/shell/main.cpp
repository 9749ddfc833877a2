// hivora: the desktop program.
#include <QApplication>
#include <cstdio>

#include "shell/CHiveBrowserApp.h"
#include "shell/FileSetArguments.h"
#include "support/ui/QtSettingsStore.h"
#include "support/ui/UiServices.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    hivora::InstallQtClipboard();
    QApplication::setOrganizationName(QStringLiteral("Quenwick"));
    QApplication::setApplicationName(QStringLiteral("HivoraRegEdit"));

    std::vector<std::string> args;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    const hivora::FileSetArguments parsed = hivora::ParseFileSetArguments(args);
    if (parsed.help) {
        std::fputs(hivora::FileSetUsage(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "hivora: %s\n", parsed.error.c_str());
        return 2;
    }

    hivora::QtSettingsStore settings;
    hivora::SetAppSettings(&settings);
    int status = 1;
    {
        hivora::CHiveBrowserApp app;
        if (app.InitInstance(parsed.set)) {
            status = QApplication::exec();
        }
    }
    hivora::SetAppSettings(nullptr);
    return status;
}
