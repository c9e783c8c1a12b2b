// Save: the names of the saved files, their bytes, the counter, the failures,
// and the file being viewed, which a save must never replace.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/screen_bytes.h"
#include "files/screen_file.h"
#include "files/source_loading.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/screen_layout.h"
#include "screen/source.h"
#include "support/file_size_limit.h"
#include "support/app_session.h"
#include "support/loaded_source.h"
#include "support/message_recorder.h"
#include "support/picture_files.h"
#include "support/platform_window.h"
#include "support/temp_dir.h"

namespace {
namespace fs = std::filesystem;
using Messages = std::vector<MessageRecorder::Message>;

class ScreenFile : public ::testing::Test {
protected:
    void SetUp() override {
        OpenTestWindow();
        ForgetLoadedSource();
    }
    void TearDown() override { ForgetLoadedSource(); }

    TempDir dir;
    MessageRecorder messages;
};

std::string Text(const ScreenBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// What the view shows at each screen position: the byte when it lies inside
// the data, else 0 in the bitmap and MissingAttribute among the attributes.
std::string ExpectedScreen(const std::string& source, int64_t offset, bool mono) {
    std::string screen(ScreenSize, '\0');
    for (int64_t i = 0; i < ScreenSize; ++i) {
        const bool present = offset >= -i && offset < static_cast<int64_t>(source.size()) - i;
        if (present) screen[i] = source[offset + i];
        else if (i >= BitmapSize) screen[i] = static_cast<char>(MissingAttribute);
        if (mono && i >= BitmapSize) screen[i] = static_cast<char>(MonoAttribute);
    }
    return screen;
}

bool Exists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

struct NameCase {
    const char* source;
    std::vector<std::string> saves;  // the .scr files written by successive saves
};

TEST_F(ScreenFile, SavesAreNamedAfterTheSourceAndNumberedFromTheSecond) {
    const NameCase cases[] = {
        {"game.sna",
         {"game.scr", "game1.scr", "game2.scr", "game3.scr", "game4.scr", "game5.scr", "game6.scr", "game7.scr",
          "game8.scr", "game9.scr", "game10.scr"}},
        {"dump", {"dump.scr", "dump1.scr"}},
        {".hidden", {".hidden.scr"}},
        {"pic.old copy", {"pic.old copy.scr"}},
        {"my.dir/dump", {"my.dir/dump.scr"}},
        {"name.", {"name.scr", "name1.scr"}},
        {"archive.tar.gz", {"archive.tar.scr"}},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.source);
        fs::create_directories(fs::path(dir / c.source).parent_path());
        OpenSource(dir.Write(c.source, PatternBytes(6912)));
        for (std::size_t k = 0; k < c.saves.size(); ++k) {
            SaveScreen();
            const std::string expected = dir / c.saves[k];
            EXPECT_EQ(SaveBaseName + ".scr", expected);
            EXPECT_EQ(fs::file_size(expected), 6912u) << expected;
            EXPECT_EQ(SaveCounter, static_cast<int32_t>(k + 1));
        }
    }
    EXPECT_EQ(messages.Shown, Messages{});
}

TEST_F(ScreenFile, ColourAndMonochromeSavesTakeTheScreenAtTheViewOffset) {
    const std::string source = PatternBytes(3 * 6912);
    OpenSource(dir.Write("game.sna", source));
    SetControlState(ByteScrollBar, 5);
    SetControlState(LineScrollBar, 10);  // offset 325
    SaveScreen();
    EXPECT_EQ(ReadFileBytes(dir / "game.scr"), source.substr(325, 6912));
    SetControlState(MonoCheckBox, 1);
    SaveScreen();
    EXPECT_EQ(ReadFileBytes(dir / "game1.scr"), source.substr(325, 6144) + std::string(768, '\x07'));
}

TEST_F(ScreenFile, ReopeningRestartsTheNumbersAndAFailedCreateStillUsesOneUp) {
    const std::string source = PatternBytes(2 * 6912);
    const std::string path = dir.Write("game.sna", source);
    OpenSource(path);
    SaveScreen();
    SaveScreen();
    EXPECT_EQ(ReadFileBytes(dir / "game1.scr"), source.substr(0, 6912));

    SetControlState(LineScrollBar, 1);
    OpenSource(path);
    EXPECT_EQ(SaveCounter, 0);
    SaveScreen();
    EXPECT_EQ(ReadFileBytes(dir / "game.scr"), source.substr(32, 6912));  // replaced by the new series

    fs::remove(dir / "game1.scr");
    fs::create_directory(dir / "game1.scr");
    SetControlState(ImageTooCheckBox, 1);
    SetControlState(FormatComboBox, 0);
    SaveScreen();
    EXPECT_EQ(messages.Shown, (Messages{{"Error!", "Error creating .scr file!"}}));
    EXPECT_EQ(SaveCounter, 2);
    EXPECT_FALSE(Exists(dir / "game1.bmp"));  // no picture without its screen

    SetControlState(ImageTooCheckBox, 0);
    SaveScreen();
    EXPECT_EQ(ReadFileBytes(dir / "game2.scr"), source.substr(32, 6912));
    EXPECT_EQ(SaveCounter, 3);
}

TEST_F(ScreenFile, NoFileKnownBeforeAnyOpenAndAfterAFailedOne) {
    SaveScreen();
    EXPECT_EQ(messages.Shown, (Messages{{"Error!", "no file known!"}}));
    EXPECT_EQ(SaveCounter, 0);
    EXPECT_TRUE(fs::is_empty(dir.Path()));

    OpenSource(dir.Write("game.sna", PatternBytes(6912)));
    SaveScreen();
    OpenSource(dir / "missing.sna");
    messages.Shown.clear();
    SaveScreen();
    EXPECT_EQ(messages.Shown, (Messages{{"Error!", "no file known!"}}));
    EXPECT_EQ(SaveCounter, 0);
    EXPECT_FALSE(Exists(dir / "game1.scr"));
    EXPECT_FALSE(Exists(dir / "missing.scr"));
}

struct ScreenBytesCase {
    std::size_t size;
    int64_t offset;
    bool mono;
};

TEST(ScreenBytesFromSource, PositionsBeyondTheDataTakeTheViewsSubstitutes) {
    const ScreenBytesCase cases[] = {
        {7000, 0, false},      {7000, 6015, false}, {7000, 6015, true},       {7000, 6999, false},
        {7000, 7000, false},   {7000, 7000, true},  {7000, int64_t{1} << 40, false},
        {7000, INT64_MAX, false}, {7000, -100, false}, {0, 0, false},         {100, 0, true},
    };
    for (const ScreenBytesCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes at " + std::to_string(c.offset) + (c.mono ? " mono" : ""));
        // A block of exactly the source's size, so that a read past it trips the sanitizer.
        const std::string source = PatternBytes(c.size);
        std::vector<uint8_t> block(source.begin(), source.end());
        const uint8_t* data = block.empty() ? nullptr : block.data();
        EXPECT_EQ(Text(MakeScreenBytes(data, static_cast<int64_t>(c.size), c.offset, c.mono)),
                  ExpectedScreen(source, c.offset, c.mono));
    }
}

TEST_F(ScreenFile, SavingNearTheEndOrAfterAnEmptyFileWritesAWholeScreen) {
    const std::string source = PatternBytes(7000);
    OpenSource(dir.Write("tail.bin", source));
    SetControlState(ByteScrollBar, 31);
    SetControlState(LineScrollBar, 187);  // offset 6015: 985 bytes of data left
    SaveScreen();
    EXPECT_EQ(ReadFileBytes(dir / "tail.scr"), ExpectedScreen(source, 6015, false));

    // The empty file's save must not carry the previous file's bytes.
    OpenSource(dir.Write("empty.sna", ""));
    SaveScreen();
    EXPECT_EQ(ReadFileBytes(dir / "empty.scr"), ExpectedScreen("", 6015, false));
    EXPECT_EQ(messages.Shown, Messages{});
}

enum class Link { None, Hard, Symbolic };

struct GuardCase {
    const char* source;
    const char* link;  // a second name of the source
    Link kind;
    int32_t imageToo;
    int32_t format;
    const char* written;  // the .scr file of the first save
    int32_t counter;      // SaveCounter afterwards
};

TEST_F(ScreenFile, ASaveNeverReplacesTheFileBeingViewed) {
    const GuardCase cases[] = {
        {"pic.scr", nullptr, Link::None, 0, 1, "pic1.scr", 2},
        {"shot.png", nullptr, Link::None, 1, 1, "shot1.scr", 2},
        {"shot.png", nullptr, Link::None, 0, 1, "shot.scr", 1},  // no picture asked for: no clash
        {"data.bin", "data.scr", Link::Hard, 0, 1, "data1.scr", 2},
        {"data.bin", "data.scr", Link::Symbolic, 0, 1, "data1.scr", 2},
        {"data.bin", "data.bmp", Link::Hard, 1, 0, "data1.scr", 2},
    };
    int folder = 0;
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(std::string(c.source) + (c.link != nullptr ? std::string(" as ") + c.link : ""));
        const std::string sub = std::to_string(folder++) + "/";
        fs::create_directory(dir / sub);
        const std::string source = PatternBytes(2 * 6912, static_cast<unsigned>(folder));
        const std::string path = dir.Write(sub + c.source, source);
        if (c.kind == Link::Hard) fs::create_hard_link(path, dir / (sub + c.link));
        if (c.kind == Link::Symbolic) fs::create_symlink(path, dir / (sub + c.link));
        OpenSource(path);
        SetControlState(ImageTooCheckBox, c.imageToo);
        SetControlState(FormatComboBox, c.format);
        SetControlState(LineScrollBar, 3);
        SaveScreen();
        EXPECT_EQ(ReadFileBytes(path), source);
        EXPECT_EQ(SaveBaseName + ".scr", dir / (sub + c.written));
        EXPECT_EQ(ReadFileBytes(dir / (sub + c.written)), source.substr(96, 6912));
        EXPECT_EQ(SaveCounter, c.counter);
    }
    EXPECT_EQ(messages.Shown, Messages{});
}

TEST_F(ScreenFile, AWriteThatFailsLeavesNoFileAndNoPicture) {
    // Through a link to a full device: the write fails, and neither the link nor the device is removed.
    const std::string full = dir / "full.scr";
    fs::create_symlink("/dev/full", full);
    EXPECT_EQ(WriteScreenBytes(full, ScreenBytes{}), ScreenWrite::WriteFailed);
    EXPECT_TRUE(fs::is_symlink(full));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_EQ(WriteScreenBytes(dir / "nowhere/x.scr", ScreenBytes{}), ScreenWrite::NotCreated);

    // A plain file that cannot be written whole is deleted, and no picture follows.
    OpenSource(dir.Write("game.sna", PatternBytes(6912)));
    SetControlState(ImageTooCheckBox, 1);
    SetControlState(FormatComboBox, 0);
    {
        FileSizeLimit limit(1000);
        SaveScreen();
    }
    EXPECT_EQ(messages.Shown, (Messages{{"Error!", "Error writing .scr file!"}}));
    EXPECT_EQ(SaveCounter, 1);
    EXPECT_FALSE(Exists(dir / "game.scr"));
    EXPECT_FALSE(Exists(dir / "game.bmp"));
}
}  // namespace
