// The event loop driven through the real window: paging keys, the commands,
// drops, the option and check box clicks, and the ways to quit.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <iterator>

#include "app/event_loop.h"
#include "files/screen_file.h"
#include "files/source_loading.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/source.h"
#include "support/app_session.h"
#include "support/window_probe.h"

namespace {
using EventLoop = AppSession;

constexpr uint32_t Marker = 0x123456;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
}  // namespace

struct PagingCase {
    const char* name;
    std::size_t fileSize;  // 0: no file loaded
    int32_t byteStart, lineStart;
    Qt::Key key;
    int32_t lineAfter;
    const char* title;  // after the page step
};

void PrintTo(const PagingCase& c, std::ostream* os) { *os << c.name; }

class Paging : public AppSession, public ::testing::WithParamInterface<PagingCase> {};

TEST_P(Paging, MovesByOneScreenAndRedraws) {
    const PagingCase& c = GetParam();
    Start();
    if (c.fileSize > 0) {
        OpenSource(dir.Write("dump.bin", PatternBytes(c.fileSize)));
        Drain();
    }
    SetControlState(ByteScrollBar, c.byteStart);
    SetControlState(LineScrollBar, c.lineStart);
    MarkCanvas(Marker);
    SendKey(c.key, true);
    SendKey(c.key, false);  // a quick tap, already released when the loop polls
    Drain();
    EXPECT_EQ(ControlState(LineScrollBar), c.lineAfter);
    EXPECT_EQ(Title(), c.title);
    // With a file the view was redrawn even where the position could not move.
    EXPECT_EQ(CanvasIs(Marker), c.fileSize == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Paging,
    ::testing::Values(PagingCase{"UpFrom100", 6912 * 30, 0, 100, Qt::Key_PageUp, 0, "Quillon, disp:0"},
                      PagingCase{"DownAtTheEndStays", 6912 * 2, 0, 401, Qt::Key_PageDown, 401, "Quillon, disp:3220"},
                      PagingCase{"DownKeepsTheByte", 6912 * 30, 5, 0, Qt::Key_PageDown, 216, "Quillon, disp:1B05"},
                      PagingCase{"DownWithoutAFile", 0, 0, 0, Qt::Key_PageDown, 1, "Quillon"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(EventLoop, HoldingAKeyPagesOnceNotPerRepeat) {
    Start();
    OpenSource(dir.Write("dump.bin", PatternBytes(6912 * 30)));
    SendKey(Qt::Key_PageDown, true);
    Drain();
    for (int i = 0; i < 5; ++i) {
        SendKey(Qt::Key_PageDown, true, true);
        Drain();
    }
    SendKey(Qt::Key_PageDown, false);
    Drain();
    EXPECT_EQ(ControlState(LineScrollBar), 216);
}

TEST_F(EventLoop, BothKeysInOnePassActUpFirstThenDown) {
    Start();
    OpenSource(dir.Write("dump.bin", PatternBytes(6912 * 30)));
    SetControlState(LineScrollBar, 100);
    SendKey(Qt::Key_PageUp, true);
    SendKey(Qt::Key_PageDown, true);
    Drain();
    // Up clamps at 0, then down moves a whole screen from there.
    EXPECT_EQ(ControlState(LineScrollBar), 216);
}

TEST_F(EventLoop, DropOfThreeFilesOpensTheFirst) {
    Start();
    const std::string first = dir.Write("first.bin", PatternBytes(7000, 1));
    const std::string second = dir.Write("second.bin", PatternBytes(9000, 2));
    const std::string third = dir.Write("third.bin", PatternBytes(100, 3));
    ASSERT_TRUE(DropFiles(CanvasWidget(), {QString::fromStdString(first), QString::fromStdString(second),
                                           QString::fromStdString(third)}));
    Drain();
    EXPECT_EQ(CurrentFileName, first);
    EXPECT_EQ(SourceSize, 7000);
    EXPECT_EQ(Title(), "Quillon, disp:0");
}

TEST_F(EventLoop, DropsOnlyOnTheCanvasAndOnlyAsCopy) {
    Start();
    const QString file = QString::fromStdString(dir.Write("a.bin", "abc"));
    for (int number : {LineScrollBar, ByteScrollBar, MonoCheckBox, ZoomX1Option, ImageTooCheckBox, FormatComboBox})
        EXPECT_FALSE(DropFiles(ControlWidget(number), {file})) << number;
    EXPECT_FALSE(DropFiles(MainWindowWidget(), {file}));
    EXPECT_FALSE(DropFiles(CanvasWidget(), {file}, Qt::MoveAction));
    Drain();
    EXPECT_EQ(CurrentFileName, "");
    EXPECT_TRUE(DropFiles(CanvasWidget(), {file}));
}

TEST_F(EventLoop, OpenThroughTheDialogAndCancel) {
    Start();
    const std::string path = dir.Write("pic.scr", PatternBytes(6912));
    dialogAnswer = path;
    ASSERT_TRUE(TriggerMenuItem("Open..."));
    Drain();
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(CurrentFileName, path);
    SaveScreen();  // moves the save counter, which a cancel must leave alone
    const int32_t counter = SaveCounter;

    dialogAnswer.clear();
    MarkCanvas(Marker);
    ASSERT_TRUE(TriggerMenuItem("Open..."));
    Drain();
    EXPECT_EQ(dialogShown, 2);
    EXPECT_EQ(CurrentFileName, path);
    EXPECT_EQ(SaveCounter, counter);
    EXPECT_EQ(Title(), "Quillon, disp:0");
    EXPECT_TRUE(CanvasIs(Marker));
    EXPECT_TRUE(messages.empty());
}

TEST_F(EventLoop, ViewOptionsRedrawButFormatAndImageTooDoNot) {
    Start();
    OpenSource(dir.Write("dump.bin", PatternBytes(6912 * 4)));
    struct Click {
        int number;
        bool redraws;
    };
    for (Click click : {Click{MonoCheckBox, true}, Click{ZoomX2Option, true}, Click{ZoomX2Option, true},
                        Click{ZoomX1Option, true}, Click{ImageTooCheckBox, false}}) {
        SCOPED_TRACE(click.number);
        MarkCanvas(Marker);
        QTest::mouseClick(ControlWidget(click.number), Qt::LeftButton);
        Drain();
        EXPECT_EQ(CanvasIs(Marker), !click.redraws);
    }
    // Clicking the option that is already checked keeps it checked.
    EXPECT_EQ(ControlState(ZoomX1Option), 1);
    EXPECT_EQ(ControlState(ZoomX2Option), 0);
}

TEST_F(EventLoop, DraggingTheThumbRedrawsAtEveryMovement) {
    Start();
    OpenSource(dir.Write("dump.bin", PatternBytes(6912 * 40)));
    QScrollBar* bar = ScrollBarWidget(LineScrollBar);
    ASSERT_NE(bar, nullptr);
    int32_t last = -1;
    const QPoint start = ThumbRect(bar).center();
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 8; ++step) {
        QTest::mouseMove(bar, start + QPoint(0, step * 30));
        const int32_t position = ControlState(LineScrollBar);
        EXPECT_GT(position, last) << step;
        // The title follows the thumb at once, before any loop pass.
        char expected[64];
        std::snprintf(expected, sizeof expected, "Quillon, disp:%X", position * 32);
        EXPECT_EQ(Title(), expected);
        last = position;
    }
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, start + QPoint(0, 8 * 30));
    Drain();
    EXPECT_EQ(ControlState(LineScrollBar), last);
}

struct QuitCase {
    const char* name;
    void (*quit)();
};

void PrintTo(const QuitCase& c, std::ostream* os) { *os << c.name; }

class Quitting : public AppSession, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(Quitting, EndsTheLoopAndWritesTheSettings) {
    Start();
    QTest::mouseClick(ControlWidget(MonoCheckBox), Qt::LeftButton);
    GetParam().quit();
    Drain();
    EXPECT_TRUE(QuitRequested);
    // The window stays until the shutdown closes it.
    EXPECT_TRUE(MainWindowExists());
    Stop();
    EXPECT_EQ(ReadAll("quillon.ini"), std::string("\x01\x00\x01", 3));
    EXPECT_FALSE(MainWindowExists());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Quitting,
    ::testing::Values(QuitCase{"MenuQuit", [] { TriggerMenuItem("Quit"); }},
                      QuitCase{"CloseButton", [] { MainWindowWidget()->close(); }},
                      QuitCase{"AltF4", [] { QTest::keyClick(MainWindowWidget(), Qt::Key_F4, Qt::AltModifier); }}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
