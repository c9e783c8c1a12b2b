// One scroll step as the user feels it: an arrow click on the line scroll bar,
// from the bar's action through the bound redraw and the synchronous repaint
// to the loop pass that takes the control event, beside Redraw alone in the
// same run. Runs the real start-up on the display given by QT_QPA_PLATFORM
// (offscreen when unset); on a real X display the repaint's trip to the server
// is part of both.
#include <benchmark/benchmark.h>

#include <QScrollBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/event_loop.h"
#include "app/startup.h"
#include "bench/ratio_reporter.h"
#include "files/source_loading.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/renderer.h"

namespace {
std::filesystem::path Folder;

// Starts the program once, with a 1 MiB file of noise loaded.
bool StartWithFile() {
    static const bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static char name[] = "scroll_step_bench";
        static char* argv[] = {name, nullptr};
        Folder = std::filesystem::temp_directory_path() / ("quillon-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(Folder);
        std::filesystem::current_path(Folder);
        std::string bytes(1 << 20, '\0');
        std::mt19937 random(7);
        for (char& b : bytes) b = static_cast<char>(random());
        std::ofstream(Folder / "dump.bin", std::ios::binary) << bytes;
        if (!StartPlatform(1, argv) || !StartUp()) return false;
        OpenSource((Folder / "dump.bin").string());
        for (int pass = 0; pass < 20 && EventPending(); ++pass) RunLoopPass();
        return true;
    }();
    return started;
}

void SetZoom(int zoom) {
    SetControlState(zoom == 2 ? ZoomX2Option : ZoomX1Option, 1);
    SetControlState(zoom == 2 ? ZoomX1Option : ZoomX2Option, 0);
    SetControlState(LineScrollBar, 1000);
}

void BM_RedrawAlone(benchmark::State& state) {
    if (!StartWithFile()) return state.SkipWithError("no window");
    SetZoom(static_cast<int>(state.range(0)));
    for (auto _ : state) Redraw();
}

void BM_ScrollStep(benchmark::State& state) {
    if (!StartWithFile()) return state.SkipWithError("no window");
    SetZoom(static_cast<int>(state.range(0)));
    auto* bar = qobject_cast<QScrollBar*>(ControlWidget(LineScrollBar));
    bool down = true;
    for (auto _ : state) {
        bar->triggerAction(down ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
        while (EventPending()) RunLoopPass();
        down = !down;
    }
}

BENCHMARK(BM_RedrawAlone)->ArgName("zoom")->Arg(1)->Arg(2);
BENCHMARK(BM_ScrollStep)->ArgName("zoom")->Arg(1)->Arg(2);
}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Each step against the redraw alone at the same zoom.
    RatioReporter reporter(
        [](const std::string& name) {
            const std::size_t slash = name.find('/');
            return "BM_RedrawAlone" + (slash == std::string::npos ? std::string() : name.substr(slash));
        },
        "Redraw alone at the same zoom");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (StartWithFile()) {
        QuitRequested = true;
        Shutdown();
    }
    StopPlatform();
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
    return 0;
}
