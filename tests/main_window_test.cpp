// The main window as the user meets it: controls, texts, start-up state,
// focus order, and the window frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

#include "platform/window.h"
#include "screen/control_numbers.h"
#include "support/app_session.h"
#include "support/window_probe.h"

namespace {
using MainWindow = AppSession;

struct ControlRow {
    int number;
    QRect geometry;
    const char* caption;
    const char* toolTip;
};

const ControlRow Controls[] = {
    {ViewCanvas, {0, 20, 512, 384}, "", ""},
    {LineScrollBar, {512, 20, 20, 384}, "", ""},
    {ByteScrollBar, {0, 404, 530, 20}, "", ""},
    {MonoCheckBox, {0, 0, 60, 20}, "b-w", "if check displays black/white"},
    {ZoomX1Option, {60, 0, 30, 20}, "x1", "no zoom"},
    {ZoomX2Option, {90, 0, 30, 20}, "x2", "zoom x2"},
    {ImageTooCheckBox, {120, 0, 30, 20}, "s", "Save image too"},
    {FormatComboBox, {150, 0, 50, 20}, "", "Image format"},
};

QString Caption(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    return "";
}
}  // namespace

TEST_F(MainWindow, ControlsStandWhereTheyBelongWithTheirTexts) {
    Start();
    for (const ControlRow& row : Controls) {
        SCOPED_TRACE(row.number);
        QWidget* widget = ControlWidget(row.number);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), row.geometry);
        EXPECT_EQ(Caption(widget), QString(row.caption));
        EXPECT_EQ(widget->toolTip(), QString(row.toolTip));
        // Every control lies in the client area below the menu bar, ending at or above 424.
        EXPECT_LE(row.geometry.bottom() + 1, 424);
    }
    auto* list = qobject_cast<QComboBox*>(ControlWidget(FormatComboBox));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isEditable());
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), "BMP");
    EXPECT_EQ(list->itemText(1), "PNG");
    EXPECT_EQ(list->itemText(2), "JPG");
}

TEST_F(MainWindow, StartsWhiteTitledQuillonWithDefaultStates) {
    Start();
    EXPECT_EQ(Title(), "Quillon");
    EXPECT_TRUE(CanvasIs(0xFFFFFF));
    const std::pair<int, int32_t> states[] = {{MonoCheckBox, 0},  {ZoomX1Option, 1},    {ZoomX2Option, 0},
                                              {ImageTooCheckBox, 0}, {FormatComboBox, 1}, {LineScrollBar, 0},
                                              {ByteScrollBar, 0}, {ViewCanvas, 0},      {99, 0}};
    for (auto [number, state] : states) EXPECT_EQ(ControlState(number), state) << number;
    EXPECT_EQ(ScrollBarMaximum(LineScrollBar), 32);
    EXPECT_EQ(ScrollBarPageLength(LineScrollBar), 32);
    EXPECT_EQ(ScrollBarMaximum(ByteScrollBar), 31);
    EXPECT_EQ(ScrollBarPageLength(ByteScrollBar), 1);
    // Before any load only positions 0 and 1 of the line scroll bar are reachable.
    SetControlState(LineScrollBar, 5);
    EXPECT_EQ(ControlState(LineScrollBar), 1);
}

TEST_F(MainWindow, FixedSizeFrameWithMenuAndNoMaximise) {
    Start();
    QWidget* window = MainWindowWidget();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->width(), 530);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->windowIcon().isNull());
    auto* menuBar = window->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    ASSERT_EQ(menuBar->actions().size(), 1);
    EXPECT_EQ(menuBar->actions()[0]->text(), "File");
    QStringList items;
    for (QAction* action : menuBar->actions()[0]->menu()->actions()) items << action->text();
    EXPECT_EQ(items, QStringList({"Open...", "Save", "Quit"}));
    // The client area is 452 high without the menu bar; the controls get what the menu leaves.
    EXPECT_EQ(window->height(), 452);
    // Centred on the primary screen by its outer size.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = window->frameGeometry();
    EXPECT_NEAR(frame.x(), (screen.width() - std::min(screen.width(), frame.width())) / 2, 1);
    EXPECT_NEAR(frame.y(), (screen.height() - std::min(screen.height(), frame.height())) / 2, 1);
}

TEST_F(MainWindow, TabVisitsOnlyTheFiveSmallControlsInOrder) {
    Start();
    for (int number : {ViewCanvas, LineScrollBar, ByteScrollBar})
        EXPECT_EQ(ControlWidget(number)->focusPolicy(), Qt::NoFocus) << number;
    // Walk the focus chain from the check box and keep the controls that take Tab.
    QWidget* first = ControlWidget(MonoCheckBox);
    QList<QWidget*> order;
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus && widget->isVisible() && widget->window() == first->window())
            order << widget;
        widget = widget->nextInFocusChain();
    } while (widget != first && order.size() < 20);
    const QList<QWidget*> expected = {ControlWidget(MonoCheckBox), ControlWidget(ZoomX1Option),
                                      ControlWidget(ZoomX2Option), ControlWidget(ImageTooCheckBox),
                                      ControlWidget(FormatComboBox)};
    EXPECT_EQ(order, expected);
}
