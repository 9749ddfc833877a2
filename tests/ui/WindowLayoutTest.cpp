// Windows and layout: the Window menu and its cycling keys, what is remembered across runs,
// and text that does not fit staying reachable.
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolTip>

#include "UiTestSupport.h"
#include "fileset/FileSetDescription.h"
#include "export/ui/StatisticsDialog.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "shell/CChildFrame.h"
#include "shell/CChildView.h"
#include "shell/CHiveBrowserApp.h"
#include "shell/CMainFrame.h"
#include "shell/SplitterLayout.h"
#include "support/ui/CutTextTips.h"
#include "support/ui/UiServices.h"
#include "viewers/ui/ViewerList.h"

namespace hivora {
namespace {

TEST_F(RegistryWindowTest, WindowMenuListsWindowsWithTheirSetAndCtrlTabCyclesThem) {
    CChildView* first = View();
    app_->OpenCurrentFileSet();
    CChildView* second = View();
    ASSERT_TRUE(second->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    second->List()->SelectValueByName("Current");
    ASSERT_TRUE(app_->MainFrame()->RunCommand(cmd::kShowBinaryData));

    QMenu* window = app_->MainFrame()->Menus(true)[5];
    emit window->aboutToShow();
    QStringList texts;
    for (QAction* action : window->actions()) {
        texts.push_back(action->text());
    }
    const QString set = QString::fromStdString(SampleDir());
    for (const QString& text :
         {"Registry Window 1: " + set, "Registry Window 2: " + set, QStringLiteral("&1 Current")}) {
        EXPECT_TRUE(texts.contains(text)) << texts.join('|').toStdString();
    }
    EXPECT_TRUE(FindAction(window, cmd::kRegistryWindowFirst + 1)->isChecked());

    second->Tree()->setFocus();
    QTest::keyClick(second->Tree(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(View(), first);
    QTest::keyClick(first->Tree(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(View(), second);
    FindAction(window, cmd::kRegistryWindowFirst)->trigger();
    EXPECT_EQ(View(), first);
    AppViewers().CloseAllViewers();
}

TEST_F(RegistryWindowTest, LayoutIsRememberedAcrossRuns) {
    ScratchSettings settings;
    CMainFrame* frame = app_->MainFrame();
    frame->resize(700, 480);
    QCoreApplication::processEvents();
    CChildView* view = View();
    const QPoint bar = SplitterLayout::BarHitRect(view->rect(), view->SplitterPosition()).center();
    QTest::mousePress(view, Qt::LeftButton, {}, bar);
    QTest::mouseMove(view, QPoint(400, bar.y()));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(400, bar.y()));
    const int splitter = view->SplitterPosition();
    ASSERT_NE(splitter, SplitterLayout::kInitialPosition);
    view->List()->horizontalHeader()->resizeSection(1, 333);
    // A width the user set outlasts a resize of the window.
    frame->resize(760, 540);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->List()->columnWidth(1), 333);

    ASSERT_TRUE(view->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    view->List()->SelectValueByName("Current");
    frame->RunCommand(cmd::kShowBinaryData);
    ASSERT_EQ(AppViewers().ViewerCount(), 1);
    AppViewers().Viewer(0)->resize(1200, 470);
    AppViewers().Viewer(0)->close();
    frame->close();
    app_.reset();

    app_ = std::make_unique<CHiveBrowserApp>();
    app_->SetPrompter(&prompter_);
    ASSERT_TRUE(app_->InitInstance(SampleFileSet()));
    EXPECT_EQ(app_->MainFrame()->size(), QSize(760, 540));
    EXPECT_EQ(View()->SplitterPosition(), splitter);
    EXPECT_EQ(View()->List()->columnWidth(1), 333);
    ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    View()->List()->SelectValueByName("Current");
    app_->MainFrame()->RunCommand(cmd::kShowBinaryData);
    ASSERT_EQ(AppViewers().ViewerCount(), 1);
    EXPECT_EQ(AppViewers().Viewer(0)->size(), QSize(1200, 470));
    AppViewers().CloseAllViewers();
}

TEST_F(RegistryWindowTest, CutTextIsReachable) {
    ScratchSettings settings;
    // A cut cell answers a tooltip request with its whole text; a whole one adds nothing.
    ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    CRegValuesList* list = View()->List();
    list->horizontalHeader()->resizeSection(0, 20);
    list->horizontalHeader()->resizeSection(1, 150);
    const QModelIndex name = list->model()->index(1, 0);
    EXPECT_EQ(CutCellText(*list, list->model()->index(1, 1)), "");
    const QPoint at = list->visualRect(name).center();
    QHelpEvent request(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &request);
    EXPECT_EQ(QToolTip::text(), "Current");
    QToolTip::hideText();

    CMainFrame* frame = app_->MainFrame();
    frame->resize(260, 400);
    QCoreApplication::processEvents();
    // The status bar gives up the middle of the path, never the date at its end.
    auto* pane = frame->statusBar()->findChild<QLabel*>("StatusPane104");
    ASSERT_NE(pane, nullptr);
    const QString full = frame->StatusText();
    ASSERT_TRUE(full.endsWith(')'));
    EXPECT_TRUE(pane->text().contains(QChar(0x2026)));
    EXPECT_TRUE(pane->text().endsWith(full.mid(full.lastIndexOf(" ("))));
    EXPECT_EQ(pane->toolTip(), full);
}

TEST(DialogDateFormat, YearsHaveFourDigitsInEveryLocale) {
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates),
          QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Japanese, QLocale::Japan)}) {
        QString format = DialogDateFormat(locale);
        EXPECT_EQ(format.count('y'), 4) << format.toStdString();
        EXPECT_EQ(format.remove('y'), locale.dateFormat(QLocale::ShortFormat).remove('y'));
    }
    // The file-set dialog's description takes the dialog form; exports keep theirs.
    const QString year = QString::number(
        QFileInfo(QString::fromStdString(SampleDir() + "/SAM")).lastModified().date().year());
    EXPECT_TRUE(ToQString(DescribeHiveFile(SampleDir() + "/SAM", DialogDateTime)).contains(year));
}

TEST_F(RegistryWindowTest, StatisticsDatesFollowTheLocaleWithFourDigitYears) {
    const QDate day = QFileInfo(QString::fromStdString(SampleDir() + "/SAM")).lastModified().date();
    const auto two = [](int number) { return QString::number(number).rightJustified(2, '0'); };
    const struct {
        QLocale locale;
        QString date;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates),
         QString("%1/%2/%3").arg(day.month()).arg(day.day()).arg(day.year())},
        {QLocale(QLocale::German, QLocale::Germany),
         QString("%1.%2.%3").arg(two(day.day()), two(day.month())).arg(day.year())},
    };
    const QLocale before;
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        QString text;
        WhenModal<StatisticsDialog>([&text](StatisticsDialog* dialog) {
            text = dialog->TextBox()->toPlainText();
            dialog->accept();
        });
        RunStatistics(app_->MainFrame());
        EXPECT_TRUE(text.contains("/SAM\n    (")) << text.toStdString();
        EXPECT_TRUE(text.contains("bytes, last modified on " + c.date + ' ')) << text.toStdString();
    }
    QLocale::setDefault(before);
}

}  // namespace
}  // namespace hivora
