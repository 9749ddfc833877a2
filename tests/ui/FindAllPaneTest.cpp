// Find All through a real registry window: the pane fills from the search worker, sorts, goes
// to a hit as Find Next would, and saves; a bad pattern searches nothing.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "UiTestSupport.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "search/HitRows.h"
#include "search/ui/FindAllModel.h"
#include "search/ui/FindAllPane.h"
#include "search/ui/FindDialog.h"
#include "shell/CChildFrame.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"
#include "support/TempPath.h"
#include "support/ui/CommandIds.h"
#include "support/ui/SaveFileName.h"
#include "values/ui/CRegValuesList.h"

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

TEST_F(FindAllTest, FillsFromTheWorkerSortsAndGoesToAHit) {
    FindAll("Select");
    ASSERT_TRUE(Pane()->isVisible());
    ASSERT_GT(Model()->rowCount(), 2);
    EXPECT_EQ(std::count_if(Model()->Hits().begin(), Model()->Hits().end(),
                            [](const SearchResult& hit) {
                                return hit.keyPath == "HKEY_LOCAL_MACHINE\\system\\Select" &&
                                       hit.kind == MatchKind::KeyName;
                            }),
              1);
    EXPECT_TRUE(Pane()->Status()->text().endsWith(" hits")) << Pane()->Status()->text().toStdString();

    for (const int column : {int(kHitKey), int(kHitData), int(kHitKind)}) {
        Pane()->Table()->sortByColumn(column, Qt::DescendingOrder);
        for (int row = 1; row < Model()->rowCount(); ++row) {
            ASSERT_GE(CompareHits(Model()->Hit(row - 1), Model()->Hit(row), column), 0)
                << column << " " << row;
        }
    }

    // Enter on a value's hit selects its key and the value, the list taking the focus.
    int row = 0;
    while (row < Model()->rowCount() && Model()->Hit(row).kind != MatchKind::ValueData) {
        ++row;
    }
    ASSERT_LT(row, Model()->rowCount());
    const SearchResult hit = Model()->Hit(row);
    QTableView* table = Pane()->Table();
    table->setFocus();
    table->setCurrentIndex(Model()->index(row, kHitKey));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(View()->GetContainingKeyName(), hit.keyPath);
    EXPECT_EQ(View()->List()->GetSelectedValueName(), hit.valueName);
    EXPECT_EQ(View()->window()->focusWidget(), View()->List());

    // The key's time, to the second, in the tree's tooltip.
    const QString tip = View()->Tree()->currentItem()->data(0, Qt::ToolTipRole).toString();
    EXPECT_TRUE(QRegularExpression(R"(^Last written \d{4}-\d\d-\d\d \d\d:\d\d:\d\d UTC$)")
                    .match(tip)
                    .hasMatch())
        << tip.toStdString();
}

TEST_F(FindAllTest, SavesAsCsvOrJsonLinesAndReportsAFailedWrite) {
    FindAll("Select");
    const int rows = Model()->rowCount();
    ASSERT_GT(rows, 0);
    const std::filesystem::path dir = test::UniqueTempPath("find_all");
    std::filesystem::create_directories(dir);
    struct Case {
        const char* name;
        const char* firstLineStart;
        int headerLines;
    } cases[] = {
        {"hits.csv", "Kind,Key,Value,Data,Last write (UTC)\r", 1},
        {"hits.jsonl", "{\"Kind\":", 0},
    };
    for (const Case& c : cases) {
        SetFileNameAsker([&](QWidget*, bool, const QString&, const QString&) {
            return QString::fromStdString((dir / c.name).string());
        });
        ASSERT_TRUE(Pane()->SaveResults()) << c.name;
        std::ifstream in(dir / c.name, std::ios::binary);
        std::string line;
        std::getline(in, line);
        EXPECT_EQ(line.rfind(c.firstLineStart, 0), 0u) << line;
        int lines = 1;
        while (std::getline(in, line)) {
            ++lines;
        }
        EXPECT_EQ(lines, rows + c.headerLines) << c.name;
    }
    SetFileNameAsker([&](QWidget*, bool, const QString&, const QString&) {
        return QString::fromStdString((dir / "missing" / "hits.csv").string());
    });
    EXPECT_FALSE(Pane()->SaveResults());
    EXPECT_EQ(prompter_.errors.size(), 1u);
    SetFileNameAsker({});
    std::filesystem::remove_all(dir);
}

TEST_F(FindAllTest, AnInvalidPatternIsNamedAndNothingIsSearched) {
    FindAll("Sel(ect", true);
    ASSERT_EQ(prompter_.errors.size(), 1u);
    EXPECT_EQ(prompter_.errors[0].rfind("Invalid regular expression at offset 7: ", 0), 0u)
        << prompter_.errors[0];
    EXPECT_FALSE(Pane()->isVisible());
    EXPECT_EQ(Model()->rowCount(), 0);
}

// Needs the search worker that honours the two options.
TEST_F(FindAllTest, MatchCaseNarrowsTheHits) {
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
