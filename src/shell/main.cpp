// hivora: the desktop program.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <cstdio>

#include "fileset/FileSetOptions.h"
#include "shell/CHiveBrowserApp.h"
#include "support/BuildInfo.h"
#include "support/IniSettingsStore.h"
#include "support/ui/UiServices.h"

int main(int argc, char* argv[]) {
    // Qt takes its own arguments (-platform, ...) out of argv here.
    QApplication application(argc, argv);
    hivora::InstallQtClipboard();
    QApplication::setOrganizationName(QString::fromLatin1(hivora::build::kOrganizationName));
    QApplication::setApplicationName(QString::fromLatin1(hivora::build::kApplicationName));

    hivora::FileSetOptions options;
    CLI::App app(
        "Views Windows registry hive files. Without a file set the program starts with "
        "the Open Registry Files Master dialog.",
        "hivora");
    hivora::AddFileSetOptions(app, options);
    std::optional<hivora::FileSet> set;
    try {
        app.parse(argc, argv);
        if (options.Given()) {
            set = hivora::BuildFileSet(options);
        }
        // Alone, --no-logs still decides for the set the dialog will assemble.
        hivora::CurrentFileSet().applyLogs = !options.noLogs;
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "hivora: %s (see --help)\n", e.what());
        return 2;
    } catch (const hivora::FileSetOptionError& e) {
        std::fprintf(stderr, "hivora: %s\n", e.what());
        return 2;
    }

    hivora::IniSettingsStore settings(hivora::IniSettingsStore::DefaultPath());
    hivora::SetAppSettings(&settings);
    int status = 1;
    {
        hivora::CHiveBrowserApp browser;
        if (browser.InitInstance(set)) {
            status = QApplication::exec();
        }
    }
    hivora::SetAppSettings(nullptr);
    return status;
}
