// The redraw that runs on every scroll movement, beside a memcpy of a buffer of
// the canvas picture's size (512 x 384 x 4 bytes) as the baseline of the same run.
// At the end every benchmark's mean time is printed as a multiple of the memcpy's.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/drawing.h"
#include "screen/palette.h"
#include "screen/renderer.h"

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

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_PaintView)->ArgNames({"zoom", "mono"})->Args({1, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1});

// Collects the mean time of each benchmark over its repetitions and prints them
// as multiples of the memcpy's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            Times[run.run_name.str()].push_back(run.GetAdjustedRealTime());
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto mean = [](const std::vector<double>& v) {
            double sum = 0;
            for (double t : v) sum += t;
            return sum / static_cast<double>(v.size());
        };
        const auto baseline = Times.find("BM_Memcpy");
        if (baseline == Times.end()) return;
        const double memcpyTime = mean(baseline->second);
        std::cout << "\nmean time / memcpy of " << PictureBytes << " bytes:\n";
        for (const auto& [name, times] : Times)
            std::cout << "  " << name << ": " << mean(times) / memcpyTime << "\n";
    }

private:
    std::map<std::string, std::vector<double>> Times;
};
}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
