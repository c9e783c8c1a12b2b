#include "support/app_session.h"

#include <unistd.h>

#include <filesystem>
#include <random>

#include "app/event_loop.h"
#include "app/startup.h"
#include "platform/dialogs.h"
#include "platform/drawing.h"
#include "platform/events.h"
#include "platform/window.h"
#include "support/platform_session.h"
#include "support/window_probe.h"

void AppSession::SetUp() {
    EnsurePlatform();
    oldDirectory = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.Path());
    SetMessageBoxSeam([this](const std::string& title, const std::string& text) { messages.emplace_back(title, text); });
    SetOpenDialogSeam([this](const std::string&) {
        ++dialogShown;
        return dialogAnswer;
    });
}

void AppSession::TearDown() {
    if (started) Stop();
    SetMessageBoxSeam({});
    SetOpenDialogSeam({});
    std::filesystem::current_path(oldDirectory);
}

void AppSession::Start() {
    ASSERT_TRUE(StartUp());
    started = true;
    Drain();
}

void AppSession::Stop() {
    if (!QuitRequested && MainWindowWidget() != nullptr) MainWindowWidget()->close();
    Drain();
    EXPECT_TRUE(QuitRequested) << "closing the window did not end the loop";
    QuitRequested = true;
    Shutdown();
    started = false;
}

void AppSession::Drain() {
    for (int guard = 0; EventPending() && !QuitRequested && guard < 100000; ++guard) RunLoopPass();
}

std::string AppSession::Title() const { return WindowTitle(); }

uint32_t AppSession::CanvasPixel(int x, int y) const {
    const Picture* canvas = CanvasPicture();
    const uint8_t* p = canvas->Top + y * canvas->RowStride + x * canvas->BytesPerPixel;
    return uint32_t{p[2]} | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16;
}

void AppSession::MarkCanvas(uint32_t colour) const {
    Picture* canvas = CanvasPicture();
    BeginDrawing(canvas);
    FillBox(0, 0, canvas->Width, canvas->Height, colour);
    EndDrawing();
}

bool AppSession::CanvasIs(uint32_t colour) const {
    const Picture* canvas = CanvasPicture();
    for (int y = 0; y < canvas->Height; ++y)
        for (int x = 0; x < canvas->Width; ++x)
            if (CanvasPixel(x, y) != colour) return false;
    return true;
}

std::string PatternBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}
