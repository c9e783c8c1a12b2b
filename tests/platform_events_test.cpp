// The event queue: menu items, close requests, one Other per input message,
// the bound on waiting Other events, and the blocking wait.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_window.h"

namespace {
constexpr int Canvas = 0, Mono = 3, List = 7;

class EventsTest : public testing::Test {
protected:
    void SetUp() override { OpenTestWindow(); }
    void TearDown() override { CloseMainWindow(); }

    static std::vector<EventKind> Kinds() {
        std::vector<EventKind> kinds;
        for (const Event& event : TakeEvents()) kinds.push_back(event.Kind);
        return kinds;
    }
};

TEST_F(EventsTest, MenuItemsRaiseTheirNumbers) {
    auto* bar = MainWindowWidget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), QStringLiteral("File"));
    const QList<QAction*> items = bar->actions()[0]->menu()->actions();
    const char* texts[] = {"Open...", "Save", "Quit"};
    ASSERT_EQ(items.size(), 3);
    for (int number = 0; number < 3; ++number) {
        EXPECT_EQ(items[number]->text(), QString::fromLatin1(texts[number]));
        EXPECT_TRUE(items[number]->shortcut().isEmpty());
        items[number]->trigger();
        const std::vector<Event> events = TakeEvents();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].Kind, EventKind::Menu);
        EXPECT_EQ(events[0].Number, number);
    }
}

TEST_F(EventsTest, CloseButtonQueuesACloseRequestAndTheWindowStays) {
    QWidget* window = MainWindowWidget();
    EXPECT_FALSE(window->close());
    QCloseEvent close;
    QApplication::sendEvent(window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(Kinds(), (std::vector<EventKind>{EventKind::CloseRequest, EventKind::CloseRequest}));
    // Alt+F4 where no window manager turns it into a close: the window asks all the same.
    QTest::keyClick(window->windowHandle(), Qt::Key_F4, Qt::AltModifier);
    std::vector<EventKind> kinds = Kinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), EventKind::CloseRequest), 1);
    ControlWidget(Mono)->setFocus();
    QTest::keyClick(ControlWidget(Mono), Qt::Key_F4, Qt::AltModifier);
    kinds = Kinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), EventKind::CloseRequest), 1);
    // F4 alone is just a key.
    QTest::keyClick(ControlWidget(Mono), Qt::Key_F4);
    kinds = Kinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), EventKind::CloseRequest), 0);
    EXPECT_TRUE(MainWindowExists());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(EventsTest, EveryInputMessageReturnsOnceAsOther) {
    const QPoint point(30, 30);
    QTest::mouseMove(ControlWidget(Canvas), point);
    QTest::mousePress(ControlWidget(Canvas), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseMove(ControlWidget(Canvas), point + QPoint(5, 5));
    QTest::mouseRelease(ControlWidget(Canvas), Qt::LeftButton, Qt::NoModifier, point + QPoint(5, 5));
    EXPECT_EQ(Kinds(), std::vector<EventKind>(4, EventKind::Other));

    // A key the check box ignores travels on to its parents; it still counts once.
    ControlWidget(Mono)->setFocus();
    QTest::keyClick(ControlWidget(Mono), Qt::Key_A);
    EXPECT_EQ(Kinds(), std::vector<EventKind>(2, EventKind::Other));
    // The same message again is a new message.
    QTest::keyPress(ControlWidget(Mono), Qt::Key_A);
    QTest::keyPress(ControlWidget(Mono), Qt::Key_A);
    EXPECT_EQ(Kinds(), std::vector<EventKind>(2, EventKind::Other));

    // Through the window, as the system delivers keys: the window and then the widget see it.
    QTest::keyClick(MainWindowWidget()->windowHandle(), Qt::Key_B);
    EXPECT_EQ(Kinds(), std::vector<EventKind>(2, EventKind::Other));
}

TEST_F(EventsTest, InputToTheOpenFormatListCountsToo) {
    auto* list = qobject_cast<QComboBox*>(ControlWidget(List));
    ASSERT_NE(list, nullptr);
    QTest::mouseClick(list, Qt::LeftButton);
    ASSERT_TRUE(list->view()->isVisible());
    TakeEvents();
    // The open list is a window of its own; a key pressed in it must still
    // wake the loop, or PageDown would wait for the next input to page.
    QTest::keyClick(list->view(), Qt::Key_PageDown);
    EXPECT_EQ(Kinds(), std::vector<EventKind>(2, EventKind::Other));
    QTest::keyClick(list->view(), Qt::Key_Escape);
    EXPECT_FALSE(list->view()->isVisible());
}

TEST_F(EventsTest, AClickRaisesItsInputAndItsControlEvent) {
    QTest::mouseClick(ControlWidget(Mono), Qt::LeftButton);
    EXPECT_EQ(Kinds(), (std::vector<EventKind>{EventKind::Other, EventKind::Other, EventKind::Control}));
}

TEST_F(EventsTest, AMouseStormDoesNotGrowTheQueueWithoutBound) {
    QWidget* canvas = ControlWidget(Canvas);
    for (int i = 0; i < 20000; ++i) {
        QMouseEvent move(QEvent::MouseMove, QPointF(i % 500, 10), canvas->mapToGlobal(QPointF(i % 500, 10)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        move.setTimestamp(static_cast<quint64>(i + 1));
        QApplication::sendEvent(canvas, &move);
    }
    MainWindowWidget()->close();
    const std::vector<EventKind> kinds = Kinds();
    EXPECT_LT(kinds.size(), 1000u);
    ASSERT_FALSE(kinds.empty());
    // Events the loop acts on are never dropped.
    EXPECT_EQ(kinds.back(), EventKind::CloseRequest);
}

TEST_F(EventsTest, WaitBlocksUntilInputArrives) {
    ASSERT_FALSE(EventPending());
    QTimer::singleShot(50, [] { MainWindowWidget()->close(); });
    EXPECT_EQ(WaitForEvent().Kind, EventKind::CloseRequest);
}

TEST_F(EventsTest, WaitWithoutAWindowEndsTheLoop) {
    CloseMainWindow();
    EXPECT_EQ(WaitForEvent().Kind, EventKind::CloseRequest);
}

TEST_F(EventsTest, ClosingTheWindowForgetsWaitingEvents) {
    MainWindowWidget()->close();
    CloseMainWindow();
    OpenTestWindow();
    EXPECT_FALSE(EventPending());
}
}  // namespace
