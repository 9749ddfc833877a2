// A QApplication for the widget tests. The offscreen platform is chosen here when nothing
// else is, so that listing the tests at build time needs no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/Settings.h"
#include "support/ui/UiServices.h"

int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    hivora::InstallQtClipboard();
    testing::InitGoogleTest(&argc, argv);
    hivora::MemorySettingsStore settings;
    hivora::SetAppSettings(&settings);
    const int status = RUN_ALL_TESTS();
    hivora::SetAppSettings(nullptr);
    return status;
}
