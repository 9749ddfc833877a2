// Renders the main window with a registry window on the sample hives, and both file-set dialogs,
// to PNG files under the build folder for a person to look at.
#include <QDir>
#include <QTest>

#include "UiTestSupport.h"
#include "fileset/ui/CChooseFilesDlg.h"
#include "fileset/ui/COpenFilesMasterDlg.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"
#include "support/Settings.h"
#include "support/ui/CommandIds.h"
#include "values/ui/CRegValuesList.h"

namespace hivora {
namespace {

QString ShotPath(const char* name) {
    const QString dir = QStringLiteral(HIVORA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    return dir + "/" + name;
}

TEST_F(RegistryWindowTest, RendersARegistryWindow) {
    CMainFrame* frame = app_->MainFrame();
    frame->resize(1100, 700);
    ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\ControlSet001\\Control"));
    View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select");
    View()->List()->selectRow(1);
    frame->UpdateCommandUI();
    QCoreApplication::processEvents();
    const QImage shot = frame->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(ShotPath("registry-window.png")));
}

TEST_F(RegistryWindowTest, RendersTheMainWindowWithoutRegistryWindows) {
    CMainFrame* frame = app_->MainFrame();
    frame->resize(800, 500);
    frame->RunCommand(cmd::kFileClose);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(ShotPath("main-window-empty.png")));
}

TEST(Screenshots, RendersTheFileSetDialogs) {
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    CurrentFileSet() = SampleFileSet();
    COpenFilesMasterDlg master(settings, prompter);
    master.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(master.grab().save(ShotPath("open-files-master.png")));

    CChooseFilesDlg choose(settings, prompter);
    choose.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(choose.grab().save(ShotPath("choose-files.png")));
    CurrentFileSet() = FileSet{};
}

}  // namespace
}  // namespace hivora
