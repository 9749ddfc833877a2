// Find and F3 through a real registry window: the dialog's criteria stay with the window, the hit
// is selected, and the end of the search is reported through the window's prompter.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "UiTestSupport.h"
#include "search/ui/FindDialog.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"
#include "support/ui/CommandIds.h"

namespace hivora {
namespace {

TEST_F(RegistryWindowTest, FindSelectsTheHitAndFindNextResumesAfterIt) {
    CChildView* view = View();
    EXPECT_FALSE(view->CommandEnabled(cmd::kFindNext));
    WhenModal<FindDialog>([](FindDialog* dialog) {
        dialog->TextEdit()->setText("Select");
        dialog->KeysBox()->setChecked(true);
        dialog->ValuesBox()->setChecked(false);
        dialog->DataBox()->setChecked(false);
        dialog->WholeStringBox()->setChecked(true);
        dialog->FindNextButton()->click();
    });
    view->RouteCommand(cmd::kFind);
    EXPECT_EQ(view->GetContainingKeyName(), "HKEY_LOCAL_MACHINE\\system\\Select");
    EXPECT_TRUE(view->CommandEnabled(cmd::kFindNext));

    // No second key of that name: F3 reports the end and leaves the selection.
    app_->MainFrame()->RunCommand(cmd::kFindNext);
    EXPECT_EQ(view->GetContainingKeyName(), "HKEY_LOCAL_MACHINE\\system\\Select");
    EXPECT_EQ(prompter_.notices.size(), 1u);

    // A second window has criteria of its own.
    app_->OpenCurrentFileSet();
    EXPECT_FALSE(View()->CommandEnabled(cmd::kFindNext));
}

}  // namespace
}  // namespace hivora
