// ExportImage: the view painted into the off-screen picture and written in the
// format chosen in the list, under the save's base name.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "files/picture_export.h"
#include "platform/drawing.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/palette.h"
#include "screen/renderer.h"
#include "screen/source.h"
#include "support/picture_files.h"
#include "support/platform_session.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {
enum FormatIndex { Bmp = 0, Png = 1, Jpg = 2 };

std::string RandomBytes(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    return bytes;
}

// The window's view controls, a palette and a source of four screens and a
// bit of random bytes.
class ExportImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsurePlatform();
        ASSERT_TRUE(CreateMainWindow("Quillon", 530, 452));
        CreateCanvas(ViewCanvas, 0, 20, 512, 384);
        CreateScrollBar(LineScrollBar, true, 512, 20, 20, 384, 0, 4096, 32);
        CreateScrollBar(ByteScrollBar, false, 0, 404, 530, 20, 0, 31, 1);
        CreateCheckBox(MonoCheckBox, 0, 0, 60, 20, "b-w");
        CreateOptionButton(ZoomX1Option, 60, 0, 30, 20, "x1");
        CreateOptionButton(ZoomX2Option, 90, 0, 30, 20, "x2");
        CreateDropDownList(FormatComboBox, 150, 0, 50, 20);
        for (const char* item : {"BMP", "PNG", "JPG"}) AddListItem(FormatComboBox, item);
        BuildPalette();
        source_ = RandomBytes(4 * 6912 + 700);
        SourceBuffer = reinterpret_cast<uint8_t*>(source_.data());
        SourceSize = static_cast<int32_t>(source_.size());
        // Offset 5 + 32 x 3 = 101: every tile starts off a screen boundary.
        SetControlState(ByteScrollBar, 5);
        SetControlState(LineScrollBar, 3);
        View(1, false, Bmp);
    }
    void TearDown() override {
        SourceBuffer = nullptr;
        SourceSize = 0;
        CloseMainWindow();
    }
    void View(int zoom, bool mono, int format) {
        SetControlState(ZoomX1Option, zoom == 1);
        SetControlState(ZoomX2Option, zoom == 2);
        SetControlState(MonoCheckBox, mono);
        SetControlState(FormatComboBox, format);
        Redraw();
    }
    // What the window shows, cut to width x height from its top-left corner.
    RgbImage CanvasView(int width, int height) const {
        const RgbImage whole = PictureImage(*CanvasPicture());
        RgbImage cut{width, height, {}};
        for (int y = 0; y < height; ++y) {
            const auto row = whole.Samples.begin() + static_cast<std::ptrdiff_t>(y) * whole.Width * 3;
            cut.Samples.insert(cut.Samples.end(), row, row + width * 3);
        }
        return cut;
    }

    TempDir dir_;
    std::string source_;
};

TEST_F(ExportImageTest, ZoomOneHoldsOnlyTheTopLeftScreen) {
    SetWindowTitle("Quillon");
    ExportImage(dir_ / "save");
    const std::string bytes = ReadFileBytes(dir_ / "save.bmp");
    EXPECT_EQ(bytes.size(), 147510u);
    const auto image = DecodeBmp(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(ImageDifference(CanvasView(256, 192), *image), "");
    // Painting the picture set the title again, to the same offset.
    EXPECT_EQ(WindowTitle(), "Quillon, disp:65");
}

TEST_F(ExportImageTest, ZoomTwoIsTheWholeView) {
    View(2, false, Png);
    ExportImage(dir_ / "save");
    const auto image = DecodePng(dir_ / "save.png");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Width, 512);
    EXPECT_EQ(ImageDifference(CanvasView(512, 384), *image), "");
}

TEST_F(ExportImageTest, MonochromeLikeTheView) {
    View(2, true, Bmp);
    ExportImage(dir_ / "save");
    const std::string bytes = ReadFileBytes(dir_ / "save.bmp");
    EXPECT_EQ(bytes.size(), 589878u);
    const auto image = DecodeBmp(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(ImageDifference(CanvasView(512, 384), *image), "");
    for (uint8_t sample : image->Samples) ASSERT_TRUE(sample == 0 || sample == 191) << int{sample};
}

TEST_F(ExportImageTest, NothingLoadedGivesAllBlack) {
    SourceSize = 0;
    ExportImage(dir_ / "save");
    const auto image = DecodeBmp(ReadFileBytes(dir_ / "save.bmp"));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(ImageDifference(RgbImage{256, 192, std::vector<uint8_t>(256 * 192 * 3, 0)}, *image), "");
}

TEST_F(ExportImageTest, NoFormatSelectedWritesNothing) {
    View(1, false, -1);
    ExportImage(dir_ / "save");
    EXPECT_TRUE(fs::is_empty(dir_.Path()));
}

TEST_F(ExportImageTest, EachSaveTakesTheFormatAndZoomOfItsMoment) {
    ExportImage(dir_ / "save");
    const std::string first = ReadFileBytes(dir_ / "save.bmp");
    View(2, false, Png);
    ExportImage(dir_ / "save1");
    View(2, false, Jpg);
    ExportImage(dir_ / "save2");

    EXPECT_EQ(ReadFileBytes(dir_ / "save.bmp"), first);
    const auto png = DecodePng(dir_ / "save1.png");
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(png->Width, 512);
    const auto jpeg = DecodeJpeg(dir_ / "save2.jpg");
    ASSERT_TRUE(jpeg.has_value());
    EXPECT_EQ(jpeg->Width, 512);
    EXPECT_EQ(jpeg->Height, 384);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 3);
}
}  // namespace
