// Layout: what is remembered across runs.
#include <QHeaderView>

#include "UiTestSupport.h"
#include "shell/SplitterLayout.h"

namespace hivora {
namespace {

TEST_F(RegistryWindowTest, LayoutIsRememberedAcrossRuns) {
    ScratchSettings settings;
    CMainFrame* frame = app_->MainFrame();
    frame->resize(900, 600);
    QCoreApplication::processEvents();
    CChildView* view = View();
    const QPoint bar = SplitterLayout::BarHitRect(view->rect(), view->SplitterPosition()).center();
    QTest::mousePress(view, Qt::LeftButton, {}, bar);
    QTest::mouseMove(view, QPoint(400, bar.y()));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(400, bar.y()));
    const int splitter = view->SplitterPosition();
    ASSERT_NE(splitter, SplitterLayout::kInitialPosition);
    view->List()->horizontalHeader()->resizeSection(1, 333);
    frame->resize(1000, 650);
    QCoreApplication::processEvents();

    frame->close();
    app_.reset();

    app_ = std::make_unique<CHiveBrowserApp>();
    app_->SetPrompter(&prompter_);
    ASSERT_TRUE(app_->InitInstance(SampleFileSet()));
    EXPECT_EQ(app_->MainFrame()->size(), QSize(1000, 650));
    EXPECT_EQ(View()->SplitterPosition(), splitter);
    EXPECT_EQ(View()->List()->columnWidth(1), 333);
}

}  // namespace
}  // namespace hivora
