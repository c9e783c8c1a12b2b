// The main window: frame, size, placement, title, icon, menu bar and the
// client area left for the controls.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_session.h"
#include "support/platform_window.h"
#include "support/temp_dir.h"

namespace {
class WindowTest : public testing::Test {
protected:
    void SetUp() override { EnsurePlatform(); }
    void TearDown() override { CloseMainWindow(); }
};

TEST_F(WindowTest, FixedSizeWithMinimiseButNoMaximise) {
    ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
    QWidget* window = MainWindowWidget();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(530, 452));
    EXPECT_EQ(window->minimumSize(), QSize(530, 452));
    EXPECT_EQ(window->maximumSize(), QSize(530, 452));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->backgroundRole(), QPalette::Button);
}

TEST_F(WindowTest, CentredOnThePrimaryScreenByItsOuterSize) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    struct Case {
        int width, height;
    };
    const Case cases[] = {{530, 452}, {screen.width() + 400, 300}, {300, screen.height() + 10}};
    for (const Case& c : cases) {
        ASSERT_TRUE(CreateMainWindow("Quillon", c.width, c.height));
        const QRect frame = MainWindowWidget()->frameGeometry();
        const int x = (screen.width() - std::min(screen.width(), frame.width())) / 2;
        const int y = (screen.height() - std::min(screen.height(), frame.height())) / 2;
        EXPECT_EQ(frame.topLeft(), screen.topLeft() + QPoint(x, y)) << c.width << " x " << c.height;
        CloseMainWindow();
    }
}

TEST_F(WindowTest, TitleIsSetAndRead) {
    EXPECT_EQ(WindowTitle(), "");
    SetWindowTitle("ignored without a window");
    ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
    EXPECT_EQ(WindowTitle(), "Quillon");
    SetWindowTitle("Quillon, disp:1B");
    EXPECT_EQ(WindowTitle(), "Quillon, disp:1B");
    EXPECT_EQ(MainWindowWidget()->windowTitle(), QStringLiteral("Quillon, disp:1B"));
}

TEST_F(WindowTest, MenuBarTakesItsHeightFromTheClientArea) {
    ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
    EXPECT_EQ(ControlArea()->geometry(), QRect(0, 0, 530, 452));
    ASSERT_TRUE(CreateMenuBar());
    AddMenu("File");
    AddMenuItem(0, "Open...");
    auto* bar = MainWindowWidget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isNativeMenuBar());
    const int barHeight = bar->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(ControlArea()->geometry(), QRect(0, barHeight, 530, 452 - barHeight));
    EXPECT_GE(452 - barHeight, 424);
    // Controls sit at their coordinates below the menu bar.
    CreateCheckBox(3, 0, 0, 60, 20, "b-w");
    EXPECT_EQ(ControlWidget(3)->mapTo(MainWindowWidget(), QPoint(0, 0)), QPoint(0, barHeight));
    EXPECT_EQ(MainWindowWidget()->size(), QSize(530, 452));
}

TEST_F(WindowTest, MenuNeedsTheWindowAndTheBar) {
    EXPECT_FALSE(CreateMenuBar());
    ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
    AddMenu("File");
    AddMenuItem(0, "Open...");
    EXPECT_EQ(MainWindowWidget()->findChild<QMenuBar*>(), nullptr);
    ASSERT_TRUE(CreateMenuBar());
    AddMenuItem(0, "before any menu");
    AddMenu("R&D");
    auto* bar = MainWindowWidget()->findChild<QMenuBar*>();
    ASSERT_EQ(bar->actions().size(), 1);
    // Shown as given: an ampersand is no mnemonic.
    EXPECT_EQ(bar->actions()[0]->text(), QStringLiteral("R&&D"));
}

TEST_F(WindowTest, IconHasBothSizes) {
    TempDir folder;
    for (int size : {32, 16}) {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::blue);
        ASSERT_TRUE(image.save(QString::fromStdString(folder / ("icon" + std::to_string(size) + ".png"))));
    }
    ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
    SetWindowIcon(folder / "icon32.png", folder / "icon16.png");
    const QList<QSize> sizes = MainWindowWidget()->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

TEST_F(WindowTest, WindowsComeAndGoRepeatedly) {
    for (int round = 0; round < 3; ++round) {
        OpenTestWindow();
        EXPECT_TRUE(MainWindowExists());
        EXPECT_EQ(ControlState(4), 1);
        CloseMainWindow();
        EXPECT_FALSE(MainWindowExists());
        CloseMainWindow();
    }
    EXPECT_FALSE(CreateMainWindow("Quillon", 0, 452));
    EXPECT_FALSE(MainWindowExists());
}
}  // namespace
