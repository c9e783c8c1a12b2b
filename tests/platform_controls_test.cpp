// Control states by number: check boxes, option groups, the drop-down list,
// unknown numbers, and user clicks raising control events.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <vector>

#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_window.h"

namespace {
constexpr int Canvas = 0, Mono = 3, ZoomX1 = 4, ZoomX2 = 5, ImageToo = 6, Format = 7;

int CallbackRuns = 0;
void CountRun() { ++CallbackRuns; }

class ControlsTest : public testing::Test {
protected:
    void SetUp() override {
        OpenTestWindow();
        CallbackRuns = 0;
    }
    void TearDown() override { CloseMainWindow(); }

    static void Click(int number) { QTest::mouseClick(ControlWidget(number), Qt::LeftButton); }

    static std::vector<int> ControlEventNumbers() {
        std::vector<int> numbers;
        for (const Event& event : TakeEvents())
            if (event.Kind == EventKind::Control) numbers.push_back(event.Number);
        return numbers;
    }
};

TEST_F(ControlsTest, InitialStates) {
    EXPECT_EQ(ControlState(Canvas), 0);
    EXPECT_EQ(ControlState(1), 0);
    EXPECT_EQ(ControlState(2), 0);
    EXPECT_EQ(ControlState(Mono), 0);
    EXPECT_EQ(ControlState(ZoomX1), 1);
    EXPECT_EQ(ControlState(ZoomX2), 0);
    EXPECT_EQ(ControlState(ImageToo), 0);
    EXPECT_EQ(ControlState(Format), 1);
}

TEST_F(ControlsTest, SettingAStateReadsBackItsMeaning) {
    struct Case {
        int number;
        int32_t set, expected;
    };
    const Case cases[] = {
        {Mono, 1, 1},   {Mono, 2, 1},    {Mono, -1, 1},  {Mono, 0, 0},     {Format, 0, 0},   {Format, 2, 2},
        {Format, 3, -1}, {Format, 255, -1}, {Format, -1, -1}, {Format, 1, 1}, {Canvas, 5, 0},   {99, 1, 0},
        {-1, 1, 0},
    };
    for (const Case& c : cases) {
        SetControlState(c.number, c.set);
        EXPECT_EQ(ControlState(c.number), c.expected) << "control " << c.number << " set " << c.set;
    }
}

TEST_F(ControlsTest, ListStartsWithNoSelectionUntilTheProgramChooses) {
    CreateDropDownList(8, 0, 0, 50, 20);
    AddListItem(8, "A");
    AddListItem(8, "B");
    EXPECT_EQ(ControlState(8), -1);
    EXPECT_EQ(static_cast<QComboBox*>(ControlWidget(8))->count(), 2);
    EXPECT_FALSE(static_cast<QComboBox*>(ControlWidget(8))->isEditable());
}

TEST_F(ControlsTest, SettingOptionsFromTheProgram) {
    struct Case {
        int number;
        int32_t set;
        int32_t expectedX1, expectedX2;
    };
    // Starting from x1 checked: non-zero checks and unchecks the other; 0 unchecks only this one.
    const Case cases[] = {
        {ZoomX2, 1, 0, 1}, {ZoomX1, 7, 1, 0}, {ZoomX1, 0, 0, 0}, {ZoomX2, 0, 0, 0}, {ZoomX2, -3, 0, 1},
    };
    for (const Case& c : cases) {
        SetControlState(c.number, c.set);
        EXPECT_EQ(ControlState(ZoomX1), c.expectedX1) << "set " << c.number << " to " << c.set;
        EXPECT_EQ(ControlState(ZoomX2), c.expectedX2) << "set " << c.number << " to " << c.set;
    }
}

TEST_F(ControlsTest, ClickingOptionsKeepsExactlyOneCheckedAndRaisesAnEventEachTime) {
    struct Case {
        int click;
        int32_t expectedX1, expectedX2;
    };
    const Case cases[] = {{ZoomX2, 0, 1}, {ZoomX2, 0, 1}, {ZoomX1, 1, 0}, {ZoomX1, 1, 0}};
    for (const Case& c : cases) {
        Click(c.click);
        EXPECT_EQ(ControlState(ZoomX1), c.expectedX1) << "click " << c.click;
        EXPECT_EQ(ControlState(ZoomX2), c.expectedX2) << "click " << c.click;
        EXPECT_EQ(ControlEventNumbers(), std::vector<int>{c.click});
    }
}

TEST_F(ControlsTest, OptionGroupsFollowCreationOrder) {
    // Options created after a control of another kind (here the list) start a group of their own.
    CreateOptionButton(10, 0, 0, 30, 20, "a");
    CreateOptionButton(11, 30, 0, 30, 20, "b");
    SetControlState(10, 1);
    SetControlState(11, 1);
    EXPECT_EQ(ControlState(10), 0);
    EXPECT_EQ(ControlState(11), 1);
    EXPECT_EQ(ControlState(ZoomX1), 1);
    Click(ZoomX2);
    EXPECT_EQ(ControlState(11), 1);
    EXPECT_EQ(ControlState(ZoomX1), 0);
}

TEST_F(ControlsTest, CheckBoxTogglesOnClickAndSpace) {
    Click(Mono);
    EXPECT_EQ(ControlState(Mono), 1);
    Click(Mono);
    EXPECT_EQ(ControlState(Mono), 0);
    ControlWidget(Mono)->setFocus();
    QTest::keyClick(ControlWidget(Mono), Qt::Key_Space);
    EXPECT_EQ(ControlState(Mono), 1);
    EXPECT_EQ(ControlEventNumbers(), (std::vector<int>{Mono, Mono, Mono}));
}

TEST_F(ControlsTest, UserSelectionInTheListRaisesAnEvent) {
    auto* list = static_cast<QComboBox*>(ControlWidget(Format));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(ControlState(Format), 2);
    EXPECT_EQ(ControlEventNumbers(), std::vector<int>{Format});
}

TEST_F(ControlsTest, CallbacksRunOnUserActionsOnly) {
    BindCallback(Mono, CountRun);
    BindCallback(ZoomX2, CountRun);
    BindCallback(Format, CountRun);
    SetControlState(Mono, 1);
    SetControlState(ZoomX2, 1);
    SetControlState(Format, 2);
    EXPECT_EQ(CallbackRuns, 0);
    EXPECT_FALSE(EventPending());
    Click(Mono);
    Click(ZoomX2);
    EXPECT_EQ(CallbackRuns, 2);
}

TEST_F(ControlsTest, TabOrderRunsOverTheSmallControlsInCreationOrder) {
    ControlWidget(Mono)->setFocus();
    const int forward[] = {ZoomX1, ZoomX2, ImageToo, Format, Mono};
    for (int expected : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), ControlWidget(expected)) << "expected " << expected;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), ControlWidget(Format));
    for (int number : {Canvas, 1, 2}) EXPECT_EQ(ControlWidget(number)->focusPolicy(), Qt::NoFocus);
}

TEST_F(ControlsTest, ToolTipsAndCaptions) {
    SetToolTip(Mono, "if check displays black/white");
    SetToolTip(Format, "Image format");
    SetToolTip(42, "nothing");
    EXPECT_EQ(ControlWidget(Mono)->toolTip(), QStringLiteral("if check displays black/white"));
    EXPECT_EQ(ControlWidget(Format)->toolTip(), QStringLiteral("Image format"));
    EXPECT_EQ(static_cast<QAbstractButton*>(ControlWidget(ZoomX2))->text(), QStringLiteral("x2"));
}

TEST_F(ControlsTest, ControlsAreForgottenWhenTheWindowCloses) {
    CloseMainWindow();
    EXPECT_EQ(ControlWidget(Mono), nullptr);
    EXPECT_EQ(ControlState(ZoomX1), 0);
    SetControlState(ZoomX1, 1);
    BindCallback(1, CountRun);
    EXPECT_EQ(ControlState(ZoomX1), 0);
    // Creating controls without a window does nothing.
    CreateCheckBox(3, 0, 0, 60, 20, "b-w");
    EXPECT_EQ(ControlWidget(3), nullptr);
}
}  // namespace
