// PageUp and PageDown: bit 15 while down, bit 0 once per new press.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <vector>

#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_window.h"

namespace {
constexpr int16_t DownAndPressed = -32767;  // 0x8001
constexpr int16_t DownOnly = -32768;        // 0x8000
constexpr int16_t PressedOnly = 1;

enum class Step { Press, Repeat, Release, Query };
struct Action {
    Step step;
    Qt::Key key;
    int16_t expected = 0;  // for Query
};

void Send(QWidget* to, QEvent::Type type, Qt::Key key, bool autoRepeat) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(to, &event);
}

class KeyStateTest : public testing::Test {
protected:
    void SetUp() override {
        OpenTestWindow();
        AsyncKeyState(Key::PageUp);
        AsyncKeyState(Key::PageDown);
    }
    void TearDown() override { CloseMainWindow(); }

    static void Run(const std::vector<Action>& actions) {
        QWidget* to = MainWindowWidget();
        int index = 0;
        for (const Action& a : actions) {
            switch (a.step) {
            case Step::Press: Send(to, QEvent::KeyPress, a.key, false); break;
            case Step::Repeat:
                // Repeats as X11 sends them: a release and a press, both marked as repeats.
                Send(to, QEvent::KeyRelease, a.key, true);
                Send(to, QEvent::KeyPress, a.key, true);
                break;
            case Step::Release: Send(to, QEvent::KeyRelease, a.key, false); break;
            case Step::Query:
                EXPECT_EQ(AsyncKeyState(a.key == Qt::Key_PageUp ? Key::PageUp : Key::PageDown), a.expected)
                    << "step " << index;
                break;
            }
            ++index;
        }
    }
};

constexpr Qt::Key Up = Qt::Key_PageUp;
constexpr Qt::Key Down = Qt::Key_PageDown;

TEST_F(KeyStateTest, PressHoldAndRelease) {
    Run({{Step::Query, Down, 0},
         {Step::Press, Down},
         {Step::Query, Down, DownAndPressed},
         {Step::Query, Down, DownOnly},
         {Step::Repeat, Down},
         {Step::Repeat, Down},
         {Step::Query, Down, DownOnly},
         {Step::Release, Down},
         {Step::Query, Down, 0}});
}

TEST_F(KeyStateTest, QuickTapIsReportedOnceAfterRelease) {
    Run({{Step::Press, Up}, {Step::Release, Up}, {Step::Query, Up, PressedOnly}, {Step::Query, Up, 0}});
}

TEST_F(KeyStateTest, TwoTapsBeforeAQueryAreOnePress) {
    Run({{Step::Press, Down}, {Step::Release, Down}, {Step::Press, Down}, {Step::Query, Down, DownAndPressed}});
}

TEST_F(KeyStateTest, KeysAreKeptApart) {
    Run({{Step::Press, Up},
         {Step::Query, Down, 0},
         {Step::Press, Down},
         {Step::Query, Up, DownAndPressed},
         {Step::Release, Up},
         {Step::Query, Down, DownAndPressed},
         {Step::Query, Up, 0},
         {Step::Query, Down, DownOnly}});
}

TEST_F(KeyStateTest, KeysThroughTheWindowAsTheSystemSendsThem) {
    QWindow* window = MainWindowWidget()->windowHandle();
    QTest::keyPress(window, Qt::Key_PageDown);
    EXPECT_EQ(AsyncKeyState(Key::PageDown), DownAndPressed);
    QTest::keyRelease(window, Qt::Key_PageDown);
    EXPECT_EQ(AsyncKeyState(Key::PageDown), 0);
    // Each press wakes the wait.
    QTest::keyClick(window, Qt::Key_PageUp);
    EXPECT_TRUE(EventPending());
    EXPECT_EQ(AsyncKeyState(Key::PageUp), PressedOnly);
}

TEST_F(KeyStateTest, KeysPressedInADialogAreTheDialogs) {
    // The open dialog and the message boxes are windows of their own over the main window.
    QWidget dialog(MainWindowWidget(), Qt::Dialog);
    dialog.show();
    Send(&dialog, QEvent::KeyPress, Down, false);
    Send(&dialog, QEvent::KeyRelease, Down, false);
    Run({{Step::Query, Down, 0}});
    // A key pressed over the view and let go in a dialog is up again.
    Run({{Step::Press, Up}});
    Send(&dialog, QEvent::KeyRelease, Up, false);
    Run({{Step::Query, Up, PressedOnly}, {Step::Query, Up, 0}});
}

TEST_F(KeyStateTest, LosingTheKeyboardLiftsHeldKeys) {
    Run({{Step::Press, Down}});
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    Run({{Step::Query, Down, PressedOnly}, {Step::Query, Down, 0}});
}
}  // namespace
