// SavePicture on failure: a file that cannot be created leaves the disk as it
// was; a failure after the file was opened leaves no file behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <functional>
#include <map>

#include "files/picture_export.h"
#include "platform/drawing.h"
#include "support/picture_files.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {
constexpr PictureFormat AllFormats[] = {PictureFormat::Bmp, PictureFormat::Png, PictureFormat::Jpeg};

const char* FormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp: return "BMP";
        case PictureFormat::Png: return "PNG";
        case PictureFormat::Jpeg: return "JPEG";
    }
    return "?";
}

// Every entry below dir with its file contents: equal snapshots, unchanged disk.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        entries[entry.path().string()] = entry.is_directory() ? "<dir>" : ReadFileBytes(entry.path().string());
    }
    return entries;
}

TEST(SavePictureTest, NoPictureNoNameOrAnotherLayoutWritesNothing) {
    TempDir dir;
    Picture* picture = MakeTestPicture(256, 192, 1);
    ASSERT_NE(picture, nullptr);
    // The same pixels with the top row first: not the layout the writers take.
    Picture topDown = *picture;
    topDown.Top = topDown.Memory;
    topDown.RowStride = -topDown.RowStride;
    for (PictureFormat format : AllFormats) {
        SCOPED_TRACE(FormatName(format));
        EXPECT_FALSE(SavePicture(nullptr, dir / "none", format));
        EXPECT_FALSE(SavePicture(picture, "", format));
        EXPECT_FALSE(SavePicture(&topDown, dir / "top-down", format));
    }
    EXPECT_TRUE(Snapshot(dir.Path()).empty());
}

TEST(SavePictureTest, FileThatCannotBeCreatedChangesNothing) {
    const struct {
        const char* Name;
        std::function<std::string(const TempDir&)> Arrange;  // returns the picture's name
    } cases[] = {
        {"a directory stands at the name",
         [](const TempDir& dir) {
             fs::create_directory(dir / "p.pic");
             dir.Write("p.pic/keep", "kept");
             return dir / "p.pic";
         }},
        {"the folder is missing", [](const TempDir& dir) { return dir / "missing/p.pic"; }},
        {"a file stands where the folder should be",
         [](const TempDir& dir) {
             dir.Write("plain", "older file");
             return dir / "plain/p.pic";
         }},
    };
    Picture* picture = MakeTestPicture(256, 192, 1);
    ASSERT_NE(picture, nullptr);
    for (const auto& c : cases) {
        for (PictureFormat format : AllFormats) {
            SCOPED_TRACE(std::string(c.Name) + ", " + FormatName(format));
            TempDir dir;
            const std::string name = c.Arrange(dir);
            const auto before = Snapshot(dir.Path());
            EXPECT_FALSE(SavePicture(picture, name, format));
            EXPECT_EQ(Snapshot(dir.Path()), before);
        }
    }
}

TEST(SavePictureTest, ExistingFileIsReplacedWhole) {
    Picture* picture = MakeTestPicture(256, 192, 1);
    ASSERT_NE(picture, nullptr);
    for (PictureFormat format : AllFormats) {
        SCOPED_TRACE(FormatName(format));
        TempDir dir;
        ASSERT_TRUE(SavePicture(picture, dir / "fresh", format));
        // Longer than any of the pictures, so a leftover tail would show.
        dir.Write("old", std::string(1 << 20, 'x'));
        ASSERT_TRUE(SavePicture(picture, dir / "old", format));
        EXPECT_EQ(ReadFileBytes(dir / "old"), ReadFileBytes(dir / "fresh"));
    }
}

TEST(SavePictureTest, FullDeviceFailsAndIsNotDeleted) {
    if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full";
    // The patterned picture fails inside the writers; the black one is small
    // enough to sit in the stream's buffer until the close.
    for (PictureFormat format : AllFormats) {
        for (int cell : {1, 0}) {
            SCOPED_TRACE(std::string(FormatName(format)) + (cell ? ", patterned" : ", black"));
            Picture* picture = cell ? MakeTestPicture(256, 192, cell) : CreateOffscreenPicture(256, 192);
            ASSERT_NE(picture, nullptr);
            EXPECT_FALSE(SavePicture(picture, "/dev/full", format));
            // A failed write must not remove what it cannot have created.
            EXPECT_TRUE(fs::is_character_file("/dev/full"));
        }
    }
}

// A file-size limit makes writes to a regular file fail at a chosen byte,
// for root too, so the delete-on-failure path runs on a real file.
class FileSizeLimitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
        // Without this the process would be killed at the limit.
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    }
    void TearDown() override {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }
    bool SaveUnderLimit(const Picture* picture, const std::string& name, PictureFormat format, rlim_t bytes) {
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limited) != 0) ADD_FAILURE() << "setrlimit";
        const bool saved = SavePicture(picture, name, format);
        setrlimit(RLIMIT_FSIZE, &saved_);
        return saved;
    }
    rlimit saved_{};
    sighandler_t oldHandler_ = SIG_DFL;
};

TEST_F(FileSizeLimitTest, FailureAfterOpeningLeavesNoFile) {
    const struct {
        const char* Name;
        PictureFormat Format;
        int Width;
        int Cell;  // 0: the black picture as created
        rlim_t Limit;
        bool Written;
    } cases[] = {
        {"BMP header fits, pixel data does not", PictureFormat::Bmp, 256, 1, 1000, false},
        {"BMP short by its last byte", PictureFormat::Bmp, 256, 1, 147509, false},
        {"BMP exactly at the limit", PictureFormat::Bmp, 256, 1, 147510, true},
        {"PNG fails inside libpng", PictureFormat::Png, 512, 1, 4096, false},
        {"PNG held in the stream buffer fails at the close", PictureFormat::Png, 256, 0, 16, false},
        {"JPEG fails inside libjpeg", PictureFormat::Jpeg, 512, 1, 4096, false},
        {"JPEG fails at its final flush", PictureFormat::Jpeg, 256, 0, 16, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TempDir dir;
        const int height = c.Width * 3 / 4;
        Picture* picture = c.Cell ? MakeTestPicture(c.Width, height, c.Cell) : CreateOffscreenPicture(c.Width, height);
        ASSERT_NE(picture, nullptr);
        // An older picture of that name: once writing has begun it cannot be kept.
        const std::string name = dir.Write("p.pic", "older picture");
        EXPECT_EQ(SaveUnderLimit(picture, name, c.Format, c.Limit), c.Written);
        EXPECT_EQ(fs::exists(name), c.Written);
        EXPECT_EQ(Snapshot(dir.Path()).size(), c.Written ? 1u : 0u) << "nothing else was left";
    }
}
}  // namespace
