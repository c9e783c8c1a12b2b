#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/drawing.h"
#include "screen/palette.h"
#include "screen/renderer.h"
#include "screen/screen_layout.h"
#include "support/reference_renderer.h"
#include "support/test_picture.h"

namespace {
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return red + 256 * green + 65536 * blue; }
constexpr uint32_t Black = 0;
constexpr uint32_t BrightWhite = Rgb(255, 255, 255);
constexpr uint32_t BrightBlue = Rgb(0, 0, 255);
constexpr uint32_t Grey = Rgb(191, 191, 191);

struct Layout {
    const char* Name;
    int BytesPerPixel;
    bool BottomUp;
};
constexpr Layout Layouts[] = {
    {"4-byte top-down", 4, false},
    {"4-byte bottom-up", 4, true},
    {"3-byte bottom-up", 3, true},
    {"3-byte top-down", 3, false},
};

struct Size {
    int Width;
    int Height;
};

std::vector<uint8_t> RandomBytes(std::mt19937& random, std::size_t count) {
    std::vector<uint8_t> bytes(count);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

// Renders both ways into fresh pictures of the layout; "" when they agree byte for byte.
std::string CompareWithBoxes(const Layout& layout, Size size, const ViewSettings& view, const uint8_t* source,
                             int64_t sourceSize) {
    TestPicture expected = MakeTestPicture(size.Width, size.Height, layout.BytesPerPixel, layout.BottomUp);
    TestPicture actual = expected;
    if (!PaintByBoxes(expected.View(), view, source, sourceSize)) return "the reference could not draw";
    PaintView(actual.View(), view, source, sourceSize);
    return FirstDifference(expected, actual);
}

std::string Describe(const Layout& layout, Size size, const ViewSettings& view, int64_t sourceSize) {
    return std::string(layout.Name) + " " + std::to_string(size.Width) + "x" + std::to_string(size.Height) +
           ", zoom " + std::to_string(view.Zoom) + (view.Mono ? ", mono" : ", colour") + ", offset " +
           std::to_string(view.Offset) + ", source size " + std::to_string(sourceSize);
}

class PaintViewTest : public ::testing::Test {
protected:
    void SetUp() override { BuildPalette(); }
};

TEST_F(PaintViewTest, MatchesBoxPerPixelOverRandomSources) {
    std::mt19937 random(20240611);
    // Sizes around the tile bounds, and random ones up to a little over four screens.
    std::vector<std::size_t> sizes = {0, 1, 6143, 6144, 6145, 6911, 6912, 6913, 27647, 27648, 27649};
    for (int k = 0; k < 13; ++k) sizes.push_back(random() % 30000);
    std::vector<std::vector<uint8_t>> sources;
    for (std::size_t s : sizes) sources.push_back(RandomBytes(random, s));

    const Size targets[] = {{512, 384}, {256, 192}, {600, 400}, {300, 100}};
    int round = 0;
    for (int zoom = 0; zoom <= 3; ++zoom) {
        for (bool mono : {false, true}) {
            for (const Layout& layout : Layouts) {
                for (Size target : targets) {
                    // Zoom 3 cannot be chosen in the window; its boxes would spill past the view area.
                    if (zoom == 3 && target.Width > 512) continue;
                    for (int k = 0; k < 2; ++k, ++round) {
                        const auto& source = sources[round % sources.size()];
                        const auto size = static_cast<int64_t>(source.size());
                        // Offsets inside, straddling the end, at the end and past it.
                        const int64_t offsets[] = {
                            static_cast<int64_t>(random() % (source.size() + 1)),
                            std::max<int64_t>(0, size - ScreenSize * int64_t(random() % 5) + int64_t(random() % 64) - 32),
                            size,
                            size + 1 + int64_t(random() % 100000),
                        };
                        ViewSettings view;
                        view.Offset = offsets[random() % 4];
                        view.Zoom = zoom;
                        view.Mono = mono;
                        EXPECT_EQ(CompareWithBoxes(layout, target, view, source.data(), size), "")
                            << Describe(layout, target, view, size);
                    }
                }
            }
        }
    }
}

// The picture expected at (x, y) of the 512 x 384 area.
using Expectation = std::function<uint32_t(int x, int y)>;

// A screen whose bitmap bytes are all 0xF0 (four ink pixels, four paper) and whose
// attributes are all the same, cut to size bytes.
std::vector<uint8_t> StripedScreen(uint8_t attribute, std::size_t size) {
    std::vector<uint8_t> screen(ScreenSize, 0xF0);
    std::fill(screen.begin() + BitmapSize, screen.end(), attribute);
    screen.resize(size);
    return screen;
}

// Four screens from offset 100 whose paper is colour 1, 2, 3, 4 in file order.
std::vector<uint8_t> FourPapersFrom100() {
    std::vector<uint8_t> source(100 + 4 * ScreenSize, 0);
    for (int k = 0; k < 4; ++k) {
        const auto attributes = source.begin() + 100 + ScreenSize * k + BitmapSize;
        std::fill(attributes, attributes + AttributeSize, static_cast<uint8_t>((k + 1) << 3));
    }
    return source;
}

bool InkStripe(int x) { return x % 8 < 4; }
bool InFirstTile(int x, int y) { return x < 256 && y < 192; }

TEST_F(PaintViewTest, NamedCases) {
    const struct {
        const char* Name;
        std::vector<uint8_t> Source;
        int64_t Offset;
        int Zoom;
        bool Mono;
        Expectation Expected;
    } cases[] = {
        {"6912 bytes at zoom 2 fill the area doubled", StripedScreen(0x47, 6912), 0, 2, false,
         [](int x, int) { return InkStripe(x / 2) ? BrightWhite : Black; }},
        {"6912 bytes at zoom 1: the other tiles are the paper of absent attributes", StripedScreen(0x47, 6912), 0, 1,
         false, [](int x, int y) { return InFirstTile(x, y) ? (InkStripe(x) ? BrightWhite : Black) : BrightBlue; }},
        {"6144 bytes: every attribute absent", StripedScreen(0, 6144), 0, 1, false,
         [](int x, int y) { return InFirstTile(x, y) && InkStripe(x) ? Black : BrightBlue; }},
        {"6145 bytes: only the first cell's attribute present", StripedScreen(0x47, 6145), 0, 1, false,
         [](int x, int y) {
             if (x < 8 && y < 8) return InkStripe(x) ? BrightWhite : Black;
             return InFirstTile(x, y) && InkStripe(x) ? Black : BrightBlue;
         }},
        {"the flash bit changes nothing", StripedScreen(0xC7, 6912), 0, 2, false,
         [](int x, int) { return InkStripe(x / 2) ? BrightWhite : Black; }},
        {"mono: grey on black, absent bytes black", StripedScreen(0x12, 6912), 0, 1, true,
         [](int x, int y) { return InFirstTile(x, y) && InkStripe(x) ? Grey : Black; }},
        {"tiles run down the left column first", FourPapersFrom100(), 100, 1, false,
         [](int x, int y) {
             const uint32_t papers[] = {Rgb(0, 0, 191), Rgb(191, 0, 0), Rgb(191, 0, 191), Rgb(0, 191, 0)};
             return papers[2 * (x / 256) + y / 192];
         }},
        {"without a zoom the area is black", StripedScreen(0x47, 6912), 0, 0, false, [](int, int) { return Black; }},
        {"an offset at the end shows only substitutes", StripedScreen(0x47, 6912), 6912, 1, false,
         [](int, int) { return BrightBlue; }},
        {"the largest offset shows only substitutes", StripedScreen(0x47, 6912), INT64_MAX, 1, false,
         [](int, int) { return BrightBlue; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TestPicture picture = MakeTestPicture(512, 384, 4, false);
        ViewSettings view;
        view.Offset = c.Offset;
        view.Zoom = c.Zoom;
        view.Mono = c.Mono;
        PaintView(picture.View(), view, c.Source.data(), static_cast<int64_t>(c.Source.size()));
        int wrong = 0;
        for (int y = 0; y < 384 && wrong < 5; ++y) {
            for (int x = 0; x < 512 && wrong < 5; ++x) {
                if (picture.ColourAt(x, y) == c.Expected(x, y)) continue;
                ++wrong;
                ADD_FAILURE() << "at x " << x << ", y " << y << ": colour " << std::hex << picture.ColourAt(x, y)
                              << " instead of " << c.Expected(x, y);
            }
        }
    }
}

TEST_F(PaintViewTest, TargetWithoutPixelsIsLeftAlone) {
    const std::vector<uint8_t> source = StripedScreen(0x47, 6912);
    PaintView(Picture{}, ViewSettings{}, source.data(), 6912);
    TestPicture empty = MakeTestPicture(0, 0, 4, false);
    PaintView(empty.View(), ViewSettings{}, source.data(), 6912);
}

// The largest source ends right before a page that may not be read, and only its
// last 64 KiB may be read at all: a read beyond the size, or an offset that
// wrapped in 32 bits, faults.
TEST_F(PaintViewTest, OffsetsNearTwoGigabytesReadOnlyBelowTheSize) {
    const int64_t size = INT32_MAX;
    const int64_t page = sysconf(_SC_PAGESIZE);
    const int64_t readable = 64 * 1024;
    const int64_t pages = (size + page - 1) / page * page;
    void* mapping = mmap(nullptr, static_cast<std::size_t>(pages + page), PROT_NONE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(mapping, MAP_FAILED);
    auto* base = static_cast<uint8_t*>(mapping);
    uint8_t* end = base + pages;
    ASSERT_EQ(mprotect(end - readable, static_cast<std::size_t>(readable), PROT_READ | PROT_WRITE), 0);
    std::mt19937 random(7);
    for (uint8_t* p = end - readable; p < end; ++p) *p = static_cast<uint8_t>(random());
    const uint8_t* source = end - size;

    const int64_t offsets[] = {size - 4 * ScreenSize, size - 2 * ScreenSize - 3, size - 6145, size - 1, size,
                               size + 31 + 32 * 100, int64_t{1} << 31, (int64_t{1} << 31) + 3 * ScreenSize};
    for (int64_t offset : offsets) {
        for (int zoom : {1, 2}) {
            ViewSettings view;
            view.Offset = offset;
            view.Zoom = zoom;
            EXPECT_EQ(CompareWithBoxes(Layouts[0], {512, 384}, view, source, size), "")
                << Describe(Layouts[0], {512, 384}, view, size);
        }
    }
    munmap(mapping, static_cast<std::size_t>(pages + page));
}
}  // namespace
