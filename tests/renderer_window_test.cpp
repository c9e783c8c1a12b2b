// DrawScreens and Redraw in a real window: the canvas's picture and what the
// screen shows of it, the title, and the targets they paint.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <random>
#include <string>
#include <vector>

#include "platform/drawing.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/palette.h"
#include "screen/renderer.h"
#include "screen/source.h"
#include "support/test_picture.h"
#include "support/platform_window.h"
#include "support/window_probe.h"

namespace {
constexpr uint32_t White = 0xFFFFFF;

uint32_t ColourAt(const Picture& picture, int x, int y) {
    const uint8_t* p = picture.Top + y * picture.RowStride + x * picture.BytesPerPixel;
    return p[2] + 256u * p[1] + 65536u * p[0];
}

// "" when picture shows the colours of expected at every pixel.
std::string Difference(const TestPicture& expected, const Picture& picture) {
    if (picture.Width != expected.Width || picture.Height != expected.Height) return "pictures of different sizes";
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            if (ColourAt(picture, x, y) != expected.ColourAt(x, y))
                return "first difference at x " + std::to_string(x) + ", y " + std::to_string(y);
    return "";
}

bool AllWhite(const Picture& picture) {
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            if (ColourAt(picture, x, y) != White) return false;
    return true;
}

// What the screen shows where the canvas lies in the window.
QImage ShownCanvas() {
    QWidget* canvas = CanvasWidget();
    if (canvas == nullptr) return {};
    const QPoint corner = canvas->mapTo(canvas->window(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(canvas->window()->winId(), corner.x(), corner.y(), canvas->width(), canvas->height())
        .toImage();
}

class RendererWindow : public ::testing::Test {
protected:
    void SetUp() override {
        OpenTestWindow();
        // As on a desktop, the window is on screen before anything is drawn.
        ASSERT_NE(MainWindowWidget(), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(MainWindowWidget()));
        SetScrollBarMaximum(LineScrollBar, 4096);
        BuildPalette();
        std::mt19937 random(42);
        source.resize(30000);
        for (auto& b : source) b = static_cast<uint8_t>(random());
    }

    void TearDown() override {
        SourceBuffer = nullptr;
        SourceSize = 0;
        ReleaseOffscreenPicture();
        CloseMainWindow();
    }

    void Load() {
        SourceBuffer = source.data();
        SourceSize = static_cast<int32_t>(source.size());
    }

    // The view as the controls set it, painted into a picture of the given layout.
    TestPicture Expected(int width, int height, int bytesPerPixel, bool bottomUp) {
        TestPicture picture = MakeTestPicture(width, height, bytesPerPixel, bottomUp);
        PaintView(picture.View(), ReadViewSettings(), source.data(), static_cast<int64_t>(source.size()));
        return picture;
    }

    std::vector<uint8_t> source;
};

TEST_F(RendererWindow, NothingLoadedLeavesCanvasAndTitleAlone) {
    SetControlState(ByteScrollBar, 27);
    Redraw();
    ASSERT_NE(CanvasPicture(), nullptr);
    EXPECT_TRUE(AllWhite(*CanvasPicture()));
    EXPECT_EQ(WindowTitle(), "Quillon");
}

TEST_F(RendererWindow, RedrawShowsTheViewOnScreenAtOnce) {
    Load();
    SetControlState(ByteScrollBar, 27);
    const struct {
        int X1, X2, Mono;
    } views[] = {{1, 0, 0}, {0, 1, 0}, {1, 0, 1}, {0, 1, 1}};
    for (const auto& v : views) {
        SCOPED_TRACE("zoom " + std::to_string(v.X1 + 2 * v.X2) + (v.Mono != 0 ? " mono" : " colour"));
        SetControlState(ZoomX1Option, v.X1);
        SetControlState(ZoomX2Option, v.X2);
        SetControlState(MonoCheckBox, v.Mono);
        Redraw();
        const TestPicture expected = Expected(512, 384, 4, false);
        EXPECT_EQ(Difference(expected, *CanvasPicture()), "");
        EXPECT_EQ(Zoom, v.X1 + 2 * v.X2);
        // What the screen shows of the canvas, with no pass of the event loop in between.
        const QImage shown = ShownCanvas();
        ASSERT_EQ(shown.size(), QSize(512, 384));
        int wrong = 0;
        for (int y = 0; y < 384; ++y) {
            for (int x = 0; x < 512; ++x) {
                const QRgb pixel = shown.pixel(x, y);
                if (qRed(pixel) + 256u * qGreen(pixel) + 65536u * qBlue(pixel) != expected.ColourAt(x, y)) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(RendererWindow, TitleShowsTheOffsetInHexadecimal) {
    Load();
    const struct {
        int Byte, Line;
        const char* Title;
    } cases[] = {{0, 0, "Quillon, disp:0"},
                 {27, 0, "Quillon, disp:1B"},
                 {31, 0, "Quillon, disp:1F"},
                 {0, 1, "Quillon, disp:20"},
                 {0, 216, "Quillon, disp:1B00"}};
    for (const auto& c : cases) {
        SetControlState(ByteScrollBar, c.Byte);
        SetControlState(LineScrollBar, c.Line);
        Redraw();
        EXPECT_EQ(WindowTitle(), c.Title) << c.Byte << " + 32 x " << c.Line;
    }
}

// The picture export's way: its own off-screen target, which at zoom 1 receives
// exactly the screen at the offset; the canvas stays as it was.
TEST_F(RendererWindow, DrawScreensPaintsWhicheverTargetIsOpen) {
    Load();
    SetControlState(ByteScrollBar, 5);
    SetControlState(LineScrollBar, 3);
    Picture* offscreen = CreateOffscreenPicture(256, 192);
    ASSERT_NE(offscreen, nullptr);
    ASSERT_TRUE(BeginDrawing(offscreen));
    DrawScreens();
    EndDrawing();
    EXPECT_EQ(Difference(Expected(256, 192, 3, true), *offscreen), "");
    EXPECT_EQ(WindowTitle(), "Quillon, disp:65");
    EXPECT_TRUE(AllWhite(*CanvasPicture()));
}

TEST_F(RendererWindow, DrawScreensWithoutAnOpenTargetDoesNothing) {
    Load();
    DrawScreens();
    EXPECT_EQ(WindowTitle(), "Quillon");
    EXPECT_TRUE(AllWhite(*CanvasPicture()));
}

TEST_F(RendererWindow, RedrawWithoutACanvasDrawsNothing) {
    CloseMainWindow();
    ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
    ASSERT_EQ(CanvasPicture(), nullptr);
    Load();
    Redraw();
    EXPECT_EQ(WindowTitle(), "Quillon");
}
}  // namespace
