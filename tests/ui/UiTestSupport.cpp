#include "UiTestSupport.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"
#include "support/Settings.h"

namespace hivora {

std::string CorpusDir() {
    const char* dir = std::getenv("HIVORA_CORPUS");
    if (dir == nullptr || !std::filesystem::exists(std::string(dir) + "/regipy/SYSTEM")) {
        return {};
    }
    return dir;
}

FileSet CorpusFileSet() {
    FileSet set;
    const std::string dir = CorpusDir() + "/regipy/";
    set[HiveSlot::System] = dir + "SYSTEM";
    set[HiveSlot::Sam] = dir + "SAM";
    set[HiveSlot::NtUser] = dir + "NTUSER.DAT";
    return set;
}

QAction* FindAction(QMenu* menu, int id) {
    if (menu == nullptr) {
        return nullptr;
    }
    for (QAction* action : menu->actions()) {
        if (action->data().isValid() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

void RegistryWindowTest::SetUp() {
    HIVORA_REQUIRE_CORPUS();
    app_ = std::make_unique<CHiveBrowserApp>();
    app_->SetPrompter(&prompter_);
    app_->SetFileSetDialog([](QWidget*) { return false; });
    ASSERT_TRUE(app_->InitInstance(CorpusFileSet()));
    ASSERT_NE(View(), nullptr);
    app_->MainFrame()->activateWindow();
    QApplication::setActiveWindow(app_->MainFrame());
    QCoreApplication::processEvents();
}

void RegistryWindowTest::TearDown() {
    app_.reset();
    QCoreApplication::processEvents();
}

CChildView* RegistryWindowTest::View() const {
    return app_->MainFrame()->ActiveView();
}

}  // namespace hivora
