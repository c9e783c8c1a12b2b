// Starting and stopping Qt: idempotent start, and a stop that takes the window,
// its controls and the canvas picture with it.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "platform/dialogs.h"
#include "platform/drawing.h"
#include "platform/events.h"
#include "platform/window.h"

namespace {
char Name[] = "quillon-test";
char* Arguments[] = {Name, nullptr};

TEST(ApplicationTest, StartsOnceAndStopsCleanly) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(StartPlatform(1, Arguments));
        QCoreApplication* first = QCoreApplication::instance();
        ASSERT_TRUE(StartPlatform(1, Arguments));
        EXPECT_EQ(QCoreApplication::instance(), first);
        ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
        CreateCanvas(0, 0, 20, 512, 384);
        CreateCheckBox(3, 0, 0, 60, 20, "b-w");
        SetControlState(3, 1);
        StopPlatform();
        EXPECT_EQ(QCoreApplication::instance(), nullptr);
        EXPECT_FALSE(MainWindowExists());
        EXPECT_EQ(CanvasPicture(), nullptr);
        EXPECT_EQ(ControlState(3), 0);
        StopPlatform();
    }
}

TEST(ApplicationTest, NothingHappensWithoutTheToolkit) {
    StopPlatform();
    EXPECT_FALSE(CreateMainWindow("Quillon", 530, 452));
    EXPECT_FALSE(CreateMenuBar());
    CreateCanvas(0, 0, 20, 512, 384);
    EXPECT_EQ(CanvasPicture(), nullptr);
    EXPECT_EQ(WindowTitle(), "");
    EXPECT_EQ(WaitForEvent().Kind, EventKind::CloseRequest);
    EXPECT_FALSE(EventPending());
    EXPECT_EQ(ShowOpenDialog("Please choose file to load", "Any files(*.*)"), "");
    ShowMessageBox("Error!", "no file known!");
}
}  // namespace
