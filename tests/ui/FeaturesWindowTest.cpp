// The feature commands through a real registry window on the corpus set: Find and F3 move the
// selection and the focus, and Back/Forward follow the selections.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "FeaturesTestSupport.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "search/ui/FindDialog.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/FeatureCommands.h"
#include "support/ui/CommandIds.h"
#include "values/ui/CRegValuesList.h"

namespace hivora {
namespace {

TEST_F(RegistryWindowTest, FindSelectsTheHitAndFindNextResumesAfterIt) {
    HIVORA_REQUIRE_CORPUS();
    features::SetFeaturePrompter(&prompter_);
    CChildView* view = View();
    EXPECT_FALSE(view->CommandEnabled(cmd::kFindNext));

    test::WhenModal<FindDialog>([](FindDialog* dialog) {
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
    view->RouteCommand(cmd::kFindNext);
    EXPECT_EQ(view->GetContainingKeyName(), "HKEY_LOCAL_MACHINE\\system\\Select");
    ASSERT_EQ(prompter_.notices.size(), 1u);
    EXPECT_TRUE(prompter_.notices[0].starts_with("Finished searching through the registry, "));

    // Back and Forward follow the selections the search made.
    ASSERT_TRUE(view->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system"));
    EXPECT_TRUE(view->CommandEnabled(cmd::kGoBack));
    EXPECT_FALSE(view->CommandEnabled(cmd::kGoForward));
    view->RouteCommand(cmd::kGoBack);
    EXPECT_EQ(view->GetContainingKeyName(), "HKEY_LOCAL_MACHINE\\system\\Select");
    EXPECT_TRUE(view->CommandEnabled(cmd::kGoForward));
    features::SetFeaturePrompter(nullptr);
}

}  // namespace
}  // namespace hivora
