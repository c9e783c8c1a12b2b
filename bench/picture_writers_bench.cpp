// The picture writers at 512 x 384, each beside the library doing the same
// work on its own, so that what the export adds shows as a ratio. On a busy
// machine compare CPU times, with --benchmark_repetitions=9
// --benchmark_enable_random_interleaving=true.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "files/picture_export.h"
#include "platform/drawing.h"

namespace {
constexpr int Width = 512;
constexpr int Height = 384;

// A picture like a view at zoom 2: 8 x 8 cells of ink and paper in the
// Spectrum's colours over scattered bits, each bit a 2 x 2 block.
Picture* ViewLikePicture() {
    Picture* picture = CreateOffscreenPicture(Width, Height);
    if (picture == nullptr || !BeginDrawing(picture)) return nullptr;
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    const uint32_t colours[] = {0x000000, 0xD70000, 0x0000D7, 0xD700D7, 0x00D700, 0xD7D700, 0x00D7D7, 0xD7D7D7,
                                0xFF0000, 0x0000FF, 0xFF00FF, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
    for (int cy = 0; cy < 24; ++cy) {
        for (int cx = 0; cx < 32; ++cx) {
            const uint32_t ink = colours[next() >> 28 & 7];
            const uint32_t paper = colours[(next() >> 28) % 15];
            for (int y = 0; y < 8; ++y) {
                const uint32_t bits = next() >> 24;
                for (int x = 0; x < 8; ++x) {
                    FillBox((cx * 8 + x) * 2, (cy * 8 + y) * 2, 2, 2, (bits & (0x80u >> x)) ? ink : paper);
                }
            }
        }
    }
    EndDrawing();
    return picture;
}

// The same pixels as red, green, blue rows, top row first, for the plain
// library runs, which then have no conversion of their own to do.
std::vector<uint8_t> RgbRows(const Picture& picture) {
    std::vector<uint8_t> rows;
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* pixel = picture.Top + y * picture.RowStride;
        for (int x = 0; x < picture.Width; ++x, pixel += 3) rows.insert(rows.end(), {pixel[2], pixel[1], pixel[0]});
    }
    return rows;
}

struct Fixture {
    std::string Folder;
    Picture* View = nullptr;
    std::vector<uint8_t> Rgb;

    Fixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) Folder = pattern;
        View = ViewLikePicture();
        if (View != nullptr) Rgb = RgbRows(*View);
    }
    ~Fixture() {
        std::error_code ignored;
        if (!Folder.empty()) std::filesystem::remove_all(Folder, ignored);
    }
    std::string File(const char* name) const { return Folder + "/" + name; }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void RunSavePicture(benchmark::State& state, PictureFormat format, const char* name) {
    Fixture& f = Shared();
    const std::string file = f.File(name);
    for (auto _ : state) {
        if (!SavePicture(f.View, file, format)) state.SkipWithError("SavePicture failed");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_BmpWriter(benchmark::State& state) { RunSavePicture(state, PictureFormat::Bmp, "w.bmp"); }
void BM_PngWriter(benchmark::State& state) { RunSavePicture(state, PictureFormat::Png, "w.png"); }
void BM_JpegWriter(benchmark::State& state) { RunSavePicture(state, PictureFormat::Jpeg, "w.jpg"); }

// Baseline for the BMP writer: the same bytes in two plain stdio writes.
void BM_PlainFileWrite(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string file = f.File("plain.bmp");
    unsigned char header[54] = {'B', 'M'};
    for (auto _ : state) {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::fwrite(header, 1, sizeof header, out);
        std::fwrite(f.View->Memory, 1, f.View->MemoryBytes, out);
        std::fclose(out);
    }
}

// libpng on the prepared rows; sameSettings: filter None and level 9 as the
// writer uses, otherwise libpng's own defaults (adaptive filters, level 6).
void LibpngPlain(benchmark::State& state, bool sameSettings, const char* name) {
    Fixture& f = Shared();
    const std::string file = f.File(name);
    for (auto _ : state) {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, out);
        if (sameSettings) {
            png_set_filter(png, 0, PNG_FILTER_NONE);
            png_set_compression_level(png, 9);
        }
        png_set_IHDR(png, info, Width, Height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < Height; ++y) png_write_row(png, f.Rgb.data() + static_cast<std::size_t>(y) * Width * 3);
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_LibpngSameSettings(benchmark::State& state) { LibpngPlain(state, true, "same.png"); }
void BM_LibpngDefaults(benchmark::State& state) { LibpngPlain(state, false, "defaults.png"); }

// libjpeg's plain compression of the prepared rows, all in one call.
void BM_LibjpegPlain(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string file = f.File("plain.jpg");
    std::vector<JSAMPROW> rows;
    for (int y = 0; y < Height; ++y) rows.push_back(f.Rgb.data() + static_cast<std::size_t>(y) * Width * 3);
    for (auto _ : state) {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        jpeg_compress_struct jpeg{};
        jpeg_error_mgr errors{};
        jpeg.err = jpeg_std_error(&errors);
        jpeg_create_compress(&jpeg);
        jpeg_stdio_dest(&jpeg, out);
        jpeg.image_width = Width;
        jpeg.image_height = Height;
        jpeg.input_components = 3;
        jpeg.in_color_space = JCS_RGB;
        jpeg_set_defaults(&jpeg);
        jpeg_set_quality(&jpeg, 70, FALSE);
        jpeg_start_compress(&jpeg, TRUE);
        jpeg_write_scanlines(&jpeg, rows.data(), Height);
        jpeg_finish_compress(&jpeg);
        jpeg_destroy_compress(&jpeg);
        std::fclose(out);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}
}  // namespace

BENCHMARK(BM_PlainFileWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BmpWriter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibpngSameSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngWriter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngDefaults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegWriter)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
