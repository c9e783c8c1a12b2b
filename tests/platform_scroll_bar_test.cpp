// Scroll bars: Windows-style range and clamping, and every user action
// raising one control event and running the callback with the new position.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <QStyle>
#include <QTest>

#include <vector>

#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_window.h"

namespace {
constexpr int Lines = 1;  // vertical
constexpr int Bytes = 2;  // horizontal, 0..31, page 1

// What the bound callback saw, one entry per run.
std::vector<int32_t> SeenByCallback;
int CallbackControl = Lines;
void RecordPosition() { SeenByCallback.push_back(ControlState(CallbackControl)); }

class ScrollBarTest : public testing::Test {
protected:
    void SetUp() override {
        OpenTestWindow();
        SeenByCallback.clear();
    }
    void TearDown() override { CloseMainWindow(); }

    QScrollBar* Bar(int number) { return static_cast<QScrollBar*>(ControlWidget(number)); }

    void Bind(int number) {
        CallbackControl = number;
        BindCallback(number, RecordPosition);
    }

    // The number of control events for this control among the queued events.
    static int ControlEvents(int number) {
        int count = 0;
        for (const Event& event : TakeEvents())
            if (event.Kind == EventKind::Control && event.Number == number) ++count;
        return count;
    }
};

TEST_F(ScrollBarTest, PositionIsClampedToTheReachableRange) {
    struct Case {
        int32_t maximum, page, set, expected;
    };
    const Case cases[] = {
        {32, 32, 1, 1},      {32, 32, 2, 1},      {216, 32, 185, 185}, {216, 32, 186, 185},
        {216, 32, 1000, 185}, {20, 32, 5, 0},     {216, 32, -1, 0},     {216, 32, INT32_MIN, 0},
        {INT32_MAX, 32, INT32_MAX, INT32_MAX - 31}, {31, 1, 31, 31},  {31, 0, 31, 31},
    };
    for (const Case& c : cases) {
        SetScrollBarMaximum(Lines, c.maximum);
        SetScrollBarPageLength(Lines, c.page);
        SetControlState(Lines, c.set);
        EXPECT_EQ(ControlState(Lines), c.expected) << "maximum " << c.maximum << " page " << c.page << " set " << c.set;
    }
}

TEST_F(ScrollBarTest, PageLengthStaysWithinTheRange) {
    struct Case {
        int32_t maximum, page, expectedPage;
    };
    const Case cases[] = {{20, 32, 21}, {216, 32, 32}, {216, -5, 0}, {0, 7, 1}};
    for (const Case& c : cases) {
        SetScrollBarMaximum(Lines, c.maximum);
        SetScrollBarPageLength(Lines, c.page);
        EXPECT_EQ(ScrollBarMaximum(Lines), c.maximum);
        EXPECT_EQ(ScrollBarPageLength(Lines), c.expectedPage) << "maximum " << c.maximum << " page " << c.page;
    }
}

TEST_F(ScrollBarTest, ShrinkingTheRangeMovesThePositionInside) {
    SetScrollBarMaximum(Lines, 216);
    SetScrollBarPageLength(Lines, 32);
    SetControlState(Lines, 185);
    SetScrollBarMaximum(Lines, 100);
    EXPECT_EQ(ControlState(Lines), 69);
    SetScrollBarPageLength(Lines, 50);
    EXPECT_EQ(ControlState(Lines), 51);
}

TEST_F(ScrollBarTest, ThumbShowsThePageInProportion) {
    SetScrollBarMaximum(Lines, 216);
    SetScrollBarPageLength(Lines, 32);
    EXPECT_EQ(Bar(Lines)->minimum(), 0);
    EXPECT_EQ(Bar(Lines)->maximum(), 185);
    EXPECT_EQ(Bar(Lines)->pageStep(), 32);
    EXPECT_EQ(Bar(Lines)->singleStep(), 1);
}

TEST_F(ScrollBarTest, ArrowsAndTroughRaiseOneEventWithTheNewPosition) {
    struct Case {
        int number;
        int32_t start;
        QStyle::SubControl part;
        int32_t expected;
    };
    const Case cases[] = {
        {Lines, 100, QStyle::SC_ScrollBarAddLine, 101}, {Lines, 100, QStyle::SC_ScrollBarSubLine, 99},
        {Lines, 100, QStyle::SC_ScrollBarAddPage, 132}, {Lines, 100, QStyle::SC_ScrollBarSubPage, 68},
        {Lines, 0, QStyle::SC_ScrollBarSubLine, 0},     {Lines, 180, QStyle::SC_ScrollBarAddPage, 185},
        {Bytes, 5, QStyle::SC_ScrollBarAddLine, 6},     {Bytes, 5, QStyle::SC_ScrollBarSubPage, 4},
        {Bytes, 5, QStyle::SC_ScrollBarAddPage, 6},     {Bytes, 31, QStyle::SC_ScrollBarAddLine, 31},
    };
    for (const Case& c : cases) {
        SetScrollBarMaximum(Lines, 216);
        SetScrollBarPageLength(Lines, 32);
        SetControlState(c.number, c.start);
        Bind(c.number);
        SeenByCallback.clear();
        TakeEvents();
        QTest::mouseClick(Bar(c.number), Qt::LeftButton, Qt::NoModifier, ScrollBarPart(Bar(c.number), c.part));
        EXPECT_EQ(ControlState(c.number), c.expected) << "control " << c.number << " part " << c.part;
        EXPECT_EQ(SeenByCallback, std::vector<int32_t>{c.expected}) << "control " << c.number << " part " << c.part;
        EXPECT_EQ(ControlEvents(c.number), 1) << "control " << c.number << " part " << c.part;
    }
}

TEST_F(ScrollBarTest, HeldArrowRepeatsWithAnEventForEachStep) {
    SetScrollBarMaximum(Lines, 216);
    SetScrollBarPageLength(Lines, 32);
    Bind(Lines);
    const QPoint arrow = ScrollBarPart(Bar(Lines), QStyle::SC_ScrollBarAddLine);
    QTest::mousePress(Bar(Lines), Qt::LeftButton, Qt::NoModifier, arrow);
    QTest::qWait(900);
    QTest::mouseRelease(Bar(Lines), Qt::LeftButton, Qt::NoModifier, arrow);
    ASSERT_GE(SeenByCallback.size(), 2u);
    for (std::size_t i = 0; i < SeenByCallback.size(); ++i) EXPECT_EQ(SeenByCallback[i], static_cast<int32_t>(i + 1));
    EXPECT_EQ(ControlEvents(Lines), static_cast<int>(SeenByCallback.size()));
}

TEST_F(ScrollBarTest, DraggedThumbRunsTheCallbackAtEachMovement) {
    SetScrollBarMaximum(Lines, 4096);
    SetScrollBarPageLength(Lines, 32);
    Bind(Lines);
    QScrollBar* bar = Bar(Lines);
    QPoint at = ScrollBarPart(bar, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, at);
    std::vector<int32_t> positions;
    for (int step = 0; step < 5; ++step) {
        at.ry() += 20;
        QTest::mouseMove(bar, at);
        positions.push_back(ControlState(Lines));
    }
    EXPECT_EQ(SeenByCallback, positions);
    for (std::size_t i = 1; i < positions.size(); ++i) EXPECT_GT(positions[i], positions[i - 1]);
    const int32_t beforeRelease = ControlState(Lines);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(ControlState(Lines), beforeRelease);
    // Each movement and the release raised an event.
    EXPECT_EQ(ControlEvents(Lines), static_cast<int>(positions.size()) + 1);
}

TEST_F(ScrollBarTest, WheelRaisesAnEventWithTheNewPosition) {
    SetScrollBarMaximum(Lines, 216);
    SetScrollBarPageLength(Lines, 32);
    SetControlState(Lines, 100);
    Bind(Lines);
    QScrollBar* bar = Bar(Lines);
    const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
    QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    ASSERT_EQ(SeenByCallback.size(), 1u);
    EXPECT_GT(SeenByCallback[0], 100);
    EXPECT_EQ(SeenByCallback[0], ControlState(Lines));
    EXPECT_EQ(ControlEvents(Lines), 1);
}

TEST_F(ScrollBarTest, SettingThePositionRunsNoCallbackAndQueuesNothing) {
    SetScrollBarMaximum(Lines, 216);
    Bind(Lines);
    TakeEvents();
    SetControlState(Lines, 50);
    SetScrollBarMaximum(Lines, 40);
    SetScrollBarPageLength(Lines, 4);
    EXPECT_TRUE(SeenByCallback.empty());
    EXPECT_FALSE(EventPending());
}

TEST_F(ScrollBarTest, ScrollBarsTakeNoKeyboardFocus) {
    EXPECT_EQ(Bar(Lines)->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Bar(Bytes)->focusPolicy(), Qt::NoFocus);
}
}  // namespace
