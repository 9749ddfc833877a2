// The registry window's layout arithmetic and the self-drawn splitter's drag.
#include <QHeaderView>
#include <QMessageBox>
#include <QTest>

#include "UiTestSupport.h"
#include "shell/CChildView.h"
#include "shell/SplitterLayout.h"
#include "values/ui/CRegValuesList.h"

namespace hivora {
namespace {

TEST(SplitterLayout, PlacesTreeBarAndList) {
    const QRect client(0, 0, 800, 600);
    EXPECT_EQ(SplitterLayout::TreeRect(client, 280), QRect(3, 5, 280, 591));
    EXPECT_EQ(SplitterLayout::ListRect(client, 280), QRect(287, 5, 510, 591));
    EXPECT_EQ(SplitterLayout::BarHitRect(client, 280), QRect(283, 5, 4, 591));
    EXPECT_EQ(SplitterLayout::DataColumnWidth(506), 191);
}

TEST(SplitterLayout, DragLimits) {
    struct Row {
        const char* name;
        int x;
        int width;
        int expected;
    };
    const Row rows[] = {
        {"inside", 300, 800, 300},
        {"left limit", 10, 800, 40},
        {"right limit", 790, 800, 760},
        {"narrow client: the right limit wins", 50, 70, 30},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SplitterLayout::ClampDrag(row.x, row.width), row.expected) << row.name;
    }
    EXPECT_EQ(SplitterLayout::PositionFromDrag(40), 37);
}

class SplitterDragTest : public testing::Test {
protected:
    void SetUp() override {
        view_.resize(800, 600);
        view_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view_));
    }
    // The middle of the bar, in view coordinates.
    QPoint Bar() const {
        return SplitterLayout::BarHitRect(view_.rect(), view_.SplitterPosition()).center();
    }
    void Move(QPoint to) {
        QMouseEvent move(QEvent::MouseMove, to, view_.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&view_, &move);
    }
    CChildView view_;
};

TEST_F(SplitterDragTest, StartsAt280AndKeepsTheDragWithinLimits) {
    EXPECT_EQ(view_.SplitterPosition(), 280);
    EXPECT_EQ(view_.List()->geometry().left(), 3 + 280 + 4);

    QTest::mousePress(&view_, Qt::LeftButton, Qt::NoModifier, Bar());
    EXPECT_TRUE(view_.IsDragging());
    Move(QPoint(10, 300));
    QTest::mouseRelease(&view_, Qt::LeftButton, Qt::NoModifier, QPoint(10, 300));
    EXPECT_FALSE(view_.IsDragging());
    EXPECT_EQ(view_.SplitterPosition(), 37);
    EXPECT_EQ(view_.List()->geometry().left(), 3 + 37 + 4);
}

TEST_F(SplitterDragTest, LosingTheMouseKeepsTheWidth) {
    QTest::mousePress(&view_, Qt::LeftButton, Qt::NoModifier, Bar());
    Move(QPoint(500, 300));
    QEvent blocked(QEvent::WindowBlocked);
    QApplication::sendEvent(&view_, &blocked);
    EXPECT_FALSE(view_.IsDragging());
    QTest::mouseRelease(&view_, Qt::LeftButton, Qt::NoModifier, QPoint(500, 300));
    EXPECT_EQ(view_.SplitterPosition(), 280);
}

TEST_F(SplitterDragTest, ResizingResetsTheColumnWidths) {
    CRegValuesList* list = view_.List();
    list->setColumnWidth(0, 50);
    list->setColumnWidth(1, 60);
    view_.resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(list->columnWidth(0), 200);
    EXPECT_EQ(list->columnWidth(1), 110);
    EXPECT_EQ(list->columnWidth(2), list->viewport()->width() - 315);
}

}  // namespace
}  // namespace hivora
