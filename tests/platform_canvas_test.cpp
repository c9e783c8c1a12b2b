// The canvas picture: its layout, its white start, and drawing that shows on
// screen as soon as drawing ends.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

#include "platform/drawing.h"
#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_window.h"

namespace {
constexpr int Canvas = 0;

class CanvasTest : public testing::Test {
protected:
    void SetUp() override { OpenTestWindow(); }
    void TearDown() override { CloseMainWindow(); }

    // What the window shows on screen now, without giving Qt a chance to repaint.
    static QImage OnScreen() {
        QWidget* canvas = ControlWidget(Canvas);
        const QPoint origin = canvas->mapTo(MainWindowWidget(), QPoint(0, 0));
        return QGuiApplication::primaryScreen()
            ->grabWindow(MainWindowWidget()->winId(), origin.x(), origin.y(), canvas->width(), canvas->height())
            .toImage();
    }
};

TEST_F(CanvasTest, PictureIsA512By384SurfaceOfFourBytesPerPixel) {
    Picture* picture = CanvasPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width, 512);
    EXPECT_EQ(picture->Height, 384);
    EXPECT_EQ(picture->BytesPerPixel, 4);
    EXPECT_EQ(picture->RowStride, 512 * 4);
    EXPECT_EQ(picture->Top, picture->Memory);
    EXPECT_EQ(picture->MemoryBytes, 512u * 384u * 4u);
    for (std::size_t i = 0; i < picture->MemoryBytes; ++i) ASSERT_EQ(picture->Memory[i], 0xFF) << "byte " << i;
}

TEST_F(CanvasTest, DrawingShowsOnScreenWhenDrawingEnds) {
    EXPECT_EQ(OnScreen().pixel(200, 100), qRgb(255, 255, 255));
    const uint32_t colour = 0x30 | 0x60 << 8 | 0x90 << 16;  // red 0x30, green 0x60, blue 0x90
    ASSERT_TRUE(BeginDrawing(CanvasPicture()));
    FillBox(100, 50, 200, 100, colour);
    EndDrawing();
    const QImage shown = OnScreen();
    EXPECT_EQ(shown.pixel(200, 100), qRgb(0x30, 0x60, 0x90));
    EXPECT_EQ(shown.pixel(99, 100), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(200, 150), qRgb(255, 255, 255));
    EXPECT_EQ(ControlWidget(Canvas)->grab().toImage().pixel(100, 50), qRgb(0x30, 0x60, 0x90));
}

TEST_F(CanvasTest, PictureGoesWithTheWindow) {
    CloseMainWindow();
    EXPECT_EQ(CanvasPicture(), nullptr);
    EXPECT_FALSE(BeginDrawing(CanvasPicture()));
    OpenTestWindow();
    ASSERT_NE(CanvasPicture(), nullptr);
    EXPECT_EQ(CanvasPicture()->Top[0], 0xFF);
}
}  // namespace
