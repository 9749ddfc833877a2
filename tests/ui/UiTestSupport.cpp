#include "UiTestSupport.h"

#include <QApplication>
#include <filesystem>

#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"

namespace hivora {

std::string SampleDir() {
    return HIVORA_SOURCE_DIR "/.cache/samples";
}

FileSet SampleFileSet() {
    FileSet set;
    set[HiveSlot::System] = SampleDir() + "/SYSTEM";
    set[HiveSlot::Sam] = SampleDir() + "/SAM";
    set[HiveSlot::NtUser] = SampleDir() + "/NTUSER.DAT";
    return set;
}

QAction* FindAction(QMenu* menu, int id) {
    for (QAction* action : menu != nullptr ? menu->actions() : QList<QAction*>()) {
        if (action->data().isValid() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

void RegistryWindowTest::SetUp() {
    ASSERT_TRUE(std::filesystem::exists(SampleDir() + "/SYSTEM"))
        << "run scripts/unpack-samples.sh first";
    app_ = std::make_unique<CHiveBrowserApp>();
    app_->SetPrompter(&prompter_);
    app_->SetFileSetDialog([](QWidget*) { return false; });
    ASSERT_TRUE(app_->InitInstance(SampleFileSet()));
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
