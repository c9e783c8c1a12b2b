// Loading a file through OpenSource with the real controls: the snapshot
// rule, the scroll-bar range, and every way a load can fail.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "files/screen_file.h"
#include "files/source_loading.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/source.h"
#include "support/app_session.h"
#include "support/loaded_source.h"
#include "support/message_recorder.h"
#include "support/platform_window.h"
#include "support/temp_dir.h"

namespace {
namespace fs = std::filesystem;
using Messages = std::vector<MessageRecorder::Message>;

class SourceLoading : public ::testing::Test {
protected:
    void SetUp() override {
        OpenTestWindow();
        ForgetLoadedSource();
    }
    void TearDown() override {
        SetAllocationLimitForTests(-1);
        SetBeforeReadHookForTests(nullptr);
        ForgetLoadedSource();
    }

    TempDir dir;
    MessageRecorder messages;
};

std::string Loaded() { return std::string(reinterpret_cast<const char*>(SourceBuffer), SourceSize); }

// True while any descriptor of this process still refers to path.
bool HeldOpen(const std::string& path) {
    std::error_code error;
    const fs::path wanted = fs::weakly_canonical(path, error);
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        const fs::path target = fs::read_symlink(entry.path(), error);
        if (!error && target == wanted) return true;
    }
    return false;
}

// A file of the given size that takes no disk space.
std::string MakeSparse(const std::string& path, int64_t size) {
    const int descriptor = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    EXPECT_GE(descriptor, 0);
    EXPECT_EQ(ftruncate(descriptor, size), 0);
    close(descriptor);
    return path;
}

struct SnapshotCase {
    const char* name;
    std::size_t size;
    bool snapshot;
};

TEST_F(SourceLoading, SnapshotRuleNeedsTheExactSizeAndTheExtensionSnaInAnyCase) {
    const SnapshotCase cases[] = {
        {"game.SNA", 131103, true},    {"game.sna", 131103, true},      {"Game.sNa", 131103, true},
        {"game.snap", 131103, false},  {"game.sna.bak", 131103, false}, {"game", 131103, false},
        {"game.sna", 131102, false},   {"game.sna", 131104, false},     {".sna", 131103, false},
    };
    int folder = 0;
    for (const SnapshotCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(c.size) + " bytes");
        const std::string name = std::to_string(folder++) + "/" + c.name;
        fs::create_directory(dir / std::to_string(folder - 1));
        const std::string path = dir.Write(name, PatternBytes(c.size));
        SetControlState(ByteScrollBar, 5);
        SetControlState(LineScrollBar, 1);
        OpenSource(path);
        EXPECT_EQ(ScrollBarMaximum(LineScrollBar), static_cast<int32_t>(c.size / 32));
        EXPECT_EQ(ControlState(ByteScrollBar), c.snapshot ? 27 : 5);
        EXPECT_EQ(ControlState(LineScrollBar), c.snapshot ? 0 : 1);
        // The redraw comes after the rule: the title shows the offset it chose.
        EXPECT_EQ(WindowTitle(), c.snapshot ? "Quillon, disp:1B" : "Quillon, disp:25");
    }
    EXPECT_EQ(messages.Shown, Messages{});
}

struct RangeCase {
    std::size_t size;
    int32_t maximum;
    int32_t lastLine;  // the highest reachable LineScrollBar position
};

TEST_F(SourceLoading, LoadHoldsTheWholeFileAndSetsTheLineRange) {
    const RangeCase cases[] = {{6912, 216, 185}, {31, 0, 0}, {1, 0, 0}, {32 * 33, 33, 2}, {131103, 4096, 4065}};
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes");
        const std::string bytes = PatternBytes(c.size, static_cast<unsigned>(c.size));
        const std::string path = dir.Write("file" + std::to_string(c.size), bytes);
        SaveCounter = 4;
        OpenSource(path);
        EXPECT_EQ(CurrentFileName, path);
        EXPECT_EQ(SaveCounter, 0);
        EXPECT_EQ(Loaded(), bytes);
        EXPECT_EQ(ScrollBarMaximum(LineScrollBar), c.maximum);
        // The page never exceeds the range: below 32 lines it is cut to maximum + 1.
        EXPECT_EQ(ScrollBarPageLength(LineScrollBar), std::min(32, c.maximum + 1));
        SetControlState(LineScrollBar, INT32_MAX);
        EXPECT_EQ(ControlState(LineScrollBar), c.lastLine);
        SetControlState(LineScrollBar, -5);
        EXPECT_EQ(ControlState(LineScrollBar), 0);
        EXPECT_FALSE(HeldOpen(path));
    }
    EXPECT_EQ(messages.Shown, Messages{});
}

TEST_F(SourceLoading, ASecondFileKeepsBothPositionsAsFarAsItsRangeAllows) {
    const std::string longer = dir.Write("long.bin", PatternBytes(4 * 6912));
    const std::string shorter = dir.Write("short.bin", PatternBytes(6912));
    OpenSource(longer);
    SetControlState(ByteScrollBar, 9);
    SetControlState(LineScrollBar, 500);
    OpenSource(shorter);
    EXPECT_EQ(ControlState(ByteScrollBar), 9);
    EXPECT_EQ(ControlState(LineScrollBar), 185);
    OpenSource(longer);
    EXPECT_EQ(ControlState(ByteScrollBar), 9);
    EXPECT_EQ(ControlState(LineScrollBar), 185);
}

struct FailureCase {
    const char* what;
    std::function<std::string(const TempDir&)> make;  // returns the path to open
    int64_t allocationLimit;                          // -1: no limit
};

TEST_F(SourceLoading, AFailedLoadReportsThePathAndEmptiesTheSource) {
    const FailureCase cases[] = {
        {"missing file", [](const TempDir& d) { return d / "missing.sna"; }, -1},
        {"directory", [](const TempDir& d) { fs::create_directory(d / "folder"); return d / "folder"; }, -1},
        {"missing folder", [](const TempDir& d) { return d / "nowhere/file.sna"; }, -1},
        {"2 GiB", [](const TempDir& d) { return MakeSparse(d / "huge.bin", int64_t{1} << 31); }, -1},
        // Cut to 32 bits this size would look like a small file.
        {"4 GiB and a screen", [](const TempDir& d) { return MakeSparse(d / "wrap.bin", (int64_t{1} << 32) + 6912); }, -1},
        {"no memory", [](const TempDir& d) { return d.Write("game.sna", PatternBytes(131103)); }, 100000},
    };
    const std::string good = dir.Write("good.bin", PatternBytes(6912));
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenSource(good);
        const uint8_t* oldBuffer = SourceBuffer;
        SetControlState(ByteScrollBar, 3);
        const std::string path = c.make(dir);
        messages.Shown.clear();
        SaveCounter = 7;
        SetAllocationLimitForTests(c.allocationLimit);
        OpenSource(path);
        SetAllocationLimitForTests(-1);

        EXPECT_EQ(messages.Shown, (Messages{{"Error!", "error reading file:\n" + path}}));
        EXPECT_EQ(SourceSize, 0);
        EXPECT_EQ(CurrentFileName, "");
        EXPECT_EQ(SaveCounter, 0);
        EXPECT_FALSE(HeldOpen(path));
        EXPECT_EQ(ControlState(ByteScrollBar), 3);  // no snapshot rule for a file that failed
        if (c.allocationLimit >= 0) {
            EXPECT_EQ(SourceBuffer, nullptr);  // the old block is gone and nothing may point at it
        } else {
            EXPECT_EQ(SourceBuffer, oldBuffer);
            EXPECT_EQ(ScrollBarMaximum(LineScrollBar), 216);
        }
        // The program goes on: the next good file loads normally.
        OpenSource(good);
        EXPECT_EQ(SourceSize, 6912);
    }
}

struct NothingToReadCase {
    const char* what;
    std::function<std::string(const TempDir&)> make;
};

TEST_F(SourceLoading, AFileWithNothingToReadIsNamedButShowsNothing) {
    const NothingToReadCase cases[] = {
        {"empty file", [](const TempDir& d) { return d.Write("empty.sna", ""); }},
        // A pipe with no writer must neither hang the window nor count as an error.
        {"named pipe", [](const TempDir& d) { mkfifo((d / "pipe").c_str(), 0644); return d / "pipe"; }},
    };
    const std::string good = dir.Write("good.bin", PatternBytes(6912));
    for (const NothingToReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenSource(good);
        SaveCounter = 3;
        const std::string path = c.make(dir);
        OpenSource(path);
        EXPECT_EQ(messages.Shown, Messages{});
        EXPECT_EQ(CurrentFileName, path);
        EXPECT_EQ(SaveCounter, 0);
        // The previous file's bytes are not on offer under this name.
        EXPECT_EQ(SourceSize, 0);
        EXPECT_EQ(ScrollBarMaximum(LineScrollBar), 216);
        EXPECT_FALSE(HeldOpen(path));
    }
}

std::string ShrinkingPath;

TEST_F(SourceLoading, AFileThatShrinksWhileLoadingKeepsItsSizeWithAZeroTail) {
    const std::string bytes = PatternBytes(6912);
    ShrinkingPath = dir.Write("shrinking.bin", bytes);
    SetBeforeReadHookForTests([] { ASSERT_EQ(truncate(ShrinkingPath.c_str(), 1000), 0); });
    OpenSource(ShrinkingPath);
    EXPECT_EQ(messages.Shown, Messages{});
    EXPECT_EQ(CurrentFileName, ShrinkingPath);
    ASSERT_EQ(SourceSize, 6912);
    EXPECT_EQ(Loaded(), bytes.substr(0, 1000) + std::string(6912 - 1000, '\0'));
    EXPECT_FALSE(HeldOpen(ShrinkingPath));
}

TEST_F(SourceLoading, FreeSourceLeavesNothingToPointAt) {
    OpenSource(dir.Write("good.bin", PatternBytes(100)));
    FreeSource();
    EXPECT_EQ(SourceBuffer, nullptr);
    EXPECT_EQ(SourceSize, 0);
    FreeSource();  // a second release is harmless
    EXPECT_EQ(SourceBuffer, nullptr);
}
}  // namespace
