// Loading a 256 MiB source against the least any loader must do: allocate a
// buffer and read() the file into it. Both read from a warm page cache. The
// peak memory of one load shows that the file is held once, not twice.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/source_loading.h"
#include "screen/source.h"

namespace {
constexpr int64_t FileSize = int64_t{256} << 20;

// The test file, made once and removed at exit.
const std::string& BenchFile() {
    static const std::string path = [] {
        const std::string name = (std::filesystem::temp_directory_path() / "quillon-load-bench.bin").string();
        std::vector<char> chunk(1 << 20);
        for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 131 + 7);
        std::ofstream out(name, std::ios::binary);
        for (int64_t written = 0; written < FileSize; written += static_cast<int64_t>(chunk.size()))
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        std::atexit([] { std::filesystem::remove(BenchFile()); });
        return name;
    }();
    return path;
}

// The baseline: one fresh buffer, read() until the end, release.
void PlainRead(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY);
    struct stat info {};
    fstat(descriptor, &info);
    const auto size = static_cast<std::size_t>(info.st_size);
    auto* buffer = static_cast<char*>(std::malloc(size));
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(descriptor, buffer + done, size - done);
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    benchmark::DoNotOptimize(buffer[size - 1]);
    std::free(buffer);
    close(descriptor);
}

void Load(const std::string& path) {
    LoadSource(path);
    benchmark::DoNotOptimize(SourceBuffer[SourceSize - 1]);
    FreeSource();
}

// Resident and peak resident memory in KiB, from /proc/self/status.
int64_t StatusField(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1));
    }
    return -1;
}

// Starts the peak anew at the present size (Linux: "5" to clear_refs).
bool ResetPeak() {
    std::ofstream refs("/proc/self/clear_refs");
    refs << "5";
    return static_cast<bool>(refs.flush());
}

void WarmCache() {
    PlainRead(BenchFile());
    PlainRead(BenchFile());
}

void BM_PlainRead(benchmark::State& state) {
    WarmCache();
    for (auto _ : state) PlainRead(BenchFile());
    state.SetBytesProcessed(state.iterations() * FileSize);
}

void BM_LoadSource(benchmark::State& state) {
    WarmCache();
    for (auto _ : state) Load(BenchFile());
    state.SetBytesProcessed(state.iterations() * FileSize);

    // One more load, outside the timing, to see how far memory rises above its base.
    if (ResetPeak()) {
        const int64_t base = StatusField("VmRSS");
        Load(BenchFile());
        const double above = static_cast<double>(StatusField("VmHWM") - base) * 1024.0;
        state.counters["peak_above_base_MiB"] = above / (1 << 20);
        state.counters["peak_over_file_size"] = above / static_cast<double>(FileSize);
    }
}

// Both in turn within each iteration, so that noise from other processes falls
// on both alike; the counter is the ratio of their total times.
void BM_LoadOverPlainRead(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    WarmCache();
    Clock::duration plain{};
    Clock::duration load{};
    for (auto _ : state) {
        const auto start = Clock::now();
        PlainRead(BenchFile());
        const auto middle = Clock::now();
        Load(BenchFile());
        const auto end = Clock::now();
        plain += middle - start;
        load += end - middle;
    }
    state.counters["load_over_plain_read"] =
        std::chrono::duration<double>(load).count() / std::chrono::duration<double>(plain).count();
}
}  // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOverPlainRead)->Unit(benchmark::kMillisecond)->MinTime(5.0);
BENCHMARK_MAIN();
