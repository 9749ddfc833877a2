// Find All through a real registry window: the pane fills from the search worker, goes to a hit
// as Find Next would, says when a save fails; the options reach the worker.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "UiTestSupport.h"
#include "search/ui/FindAllModel.h"
#include "search/ui/FindAllPane.h"
#include "search/ui/FindDialog.h"
#include "shell/CChildFrame.h"
#include "support/ui/SaveFileName.h"

namespace hivora {
namespace {

class FindAllTest : public RegistryWindowTest {
protected:
    FindAllPane* Pane() const { return app_->MainFrame()->ActiveRegistryWindow()->ResultsPane(); }
    FindAllModel* Model() const { return Pane()->Model(); }

    // Find All from the Find dialog, waiting for the worker to end.
    void FindAll(const QString& text, bool regex = false, bool matchCase = false) {
        WhenModal<FindDialog>([=](FindDialog* dialog) {
            dialog->TextEdit()->setText(text);
            dialog->RegexBox()->setChecked(regex);
            dialog->MatchCaseBox()->setChecked(matchCase);
            dialog->FindAllButton()->click();
        });
        View()->RouteCommand(cmd::kFind);
        if (Pane()->Running()) {
            QSignalSpy ended(Pane(), &FindAllPane::searchEnded);
            ASSERT_TRUE(ended.wait(60000));
        }
    }
};

TEST_F(FindAllTest, FillsFromTheWorkerAndGoesToAHit) {
    FindAll("Select");
    ASSERT_TRUE(Pane()->isVisible());
    int row = 0;  // Enter on a value's hit selects its key and the value, the list taking focus
    while (row < Model()->rowCount() && Model()->Hit(row).kind != MatchKind::ValueData) {
        ++row;
    }
    ASSERT_LT(row, Model()->rowCount());
    const SearchResult hit = Model()->Hit(row);
    QTableView* table = Pane()->Table();
    table->setFocus();
    table->setCurrentIndex(Model()->index(row, 0));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(View()->GetContainingKeyName(), hit.keyPath);
    EXPECT_EQ(View()->List()->GetSelectedValueName(), hit.valueName);
    EXPECT_EQ(View()->window()->focusWidget(), View()->List());

    SetFileNameAsker([](QWidget*, bool, const QString&, const QString&) {
        return QStringLiteral("/no/such/folder/hits.csv");
    });
    EXPECT_FALSE(Pane()->SaveResults());
    EXPECT_EQ(prompter_.errors.size(), 1u);
    SetFileNameAsker({});
}

TEST_F(FindAllTest, RegexAndMatchCaseReachTheWorker) {
    FindAll("Sel(ect", true);  // named, and nothing searched
    ASSERT_EQ(prompter_.errors.size(), 1u);
    EXPECT_EQ(prompter_.errors[0].rfind("Invalid regular expression at offset 7: ", 0), 0u);
    EXPECT_FALSE(Pane()->isVisible());
    EXPECT_EQ(Model()->rowCount(), 0);

    FindAll("select");
    const int anyCase = Model()->rowCount();
    FindAll("select", false, true);
    EXPECT_GT(Model()->rowCount(), 0);
    EXPECT_LT(Model()->rowCount(), anyCase);
    FindAll("^Sel.ct$", true);
    ASSERT_GT(Model()->rowCount(), 0);
    EXPECT_EQ(Model()->Hit(0).keyPath, "HKEY_LOCAL_MACHINE\\system\\Select");
}

}  // namespace
}  // namespace hivora
