// The redraw that runs on every scroll movement, beside a memcpy of a buffer of
// the canvas picture's size (512 x 384 x 4 bytes) as the baseline of the same run:
// PaintView alone into a picture of the canvas's format, and Redraw into the real
// canvas of a window on Qt's offscreen platform, the repaint on screen included.
// At the end every benchmark's mean time is printed as a multiple of the memcpy's.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "platform/drawing.h"
#include "platform/events.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/palette.h"
#include "screen/renderer.h"
#include "screen/source.h"

namespace {
constexpr int Width = 512;
constexpr int Height = 384;
constexpr std::size_t PictureBytes = std::size_t{Width} * Height * 4;

// A 128K snapshot's worth of bytes: runs of zeros and of one value, as screens
// and code have them, between stretches of noise.
std::vector<uint8_t> MakeSource() {
    std::mt19937 random(1982);
    std::vector<uint8_t> source(131103);
    for (std::size_t i = 0; i < source.size();) {
        const std::size_t run = std::min<std::size_t>(source.size() - i, 16 + random() % 512);
        const int kind = static_cast<int>(random() % 3);
        const auto value = static_cast<uint8_t>(random());
        for (std::size_t k = 0; k < run; ++k, ++i)
            source[i] = kind == 0 ? 0 : kind == 1 ? value : static_cast<uint8_t>(random());
    }
    return source;
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint8_t> from(PictureBytes, 1);
    std::vector<uint8_t> to(PictureBytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), PictureBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

// Arguments: zoom, mono.
void BM_PaintView(benchmark::State& state) {
    BuildPalette();
    const std::vector<uint8_t> source = MakeSource();
    std::vector<uint8_t> memory(PictureBytes, 0);
    Picture picture;
    picture.Memory = memory.data();
    picture.MemoryBytes = memory.size();
    picture.Top = memory.data();
    picture.RowStride = Width * 4;
    picture.Width = Width;
    picture.Height = Height;
    picture.BytesPerPixel = 4;
    ViewSettings view;
    view.Offset = 27;
    view.Zoom = static_cast<int>(state.range(0));
    view.Mono = state.range(1) != 0;
    for (auto _ : state) {
        PaintView(picture, view, source.data(), static_cast<int64_t>(source.size()));
        benchmark::DoNotOptimize(memory.data());
        benchmark::ClobberMemory();
    }
}

// A window with the canvas and the controls that Redraw reads, on screen.
bool OpenWindow() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static char name[] = "redraw_bench";
    static char* argv[] = {name, nullptr};
    if (!StartPlatform(1, argv) || !CreateMainWindow("Quillon", 532, 424)) return false;
    CreateCanvas(ViewCanvas, 0, 20, 512, 384);
    CreateScrollBar(LineScrollBar, true, 512, 20, 20, 384, 0, 4096, 32);
    CreateScrollBar(ByteScrollBar, false, 0, 404, 530, 20, 0, 31, 1);
    CreateCheckBox(MonoCheckBox, 0, 0, 60, 20, "b-w");
    CreateOptionButton(ZoomX1Option, 60, 0, 30, 20, "x1");
    CreateOptionButton(ZoomX2Option, 90, 0, 30, 20, "x2");
    // Lets the window be shown and exposed before anything is timed.
    for (int pass = 0; pass < 20; ++pass) EventPending();
    return CanvasPicture() != nullptr;
}

// Arguments: zoom, mono.
void BM_Redraw(benchmark::State& state) {
    if (!OpenWindow()) {
        state.SkipWithError("no window");
        return;
    }
    BuildPalette();
    std::vector<uint8_t> source = MakeSource();
    SourceBuffer = source.data();
    SourceSize = static_cast<int32_t>(source.size());
    SetControlState(ByteScrollBar, 27);
    SetControlState(ZoomX1Option, state.range(0) == 1);
    SetControlState(ZoomX2Option, state.range(0) == 2);
    SetControlState(MonoCheckBox, static_cast<int32_t>(state.range(1)));
    for (auto _ : state) Redraw();
    SourceBuffer = nullptr;
    SourceSize = 0;
    CloseMainWindow();
}

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_PaintView)->ArgNames({"zoom", "mono"})->Args({1, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1});
BENCHMARK(BM_Redraw)->ArgNames({"zoom", "mono"})->Args({1, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1});

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter("BM_Memcpy", "memcpy of " + std::to_string(PictureBytes) + " bytes");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    StopPlatform();
    return 0;
}
