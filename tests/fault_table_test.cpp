// Every bad input and failing disk the README's fault table lists, tried end
// to end through the real program: what the user sees, and what is left on disk.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "app/event_loop.h"
#include "files/screen_file.h"
#include "files/source_loading.h"
#include "platform/files.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/source.h"
#include "support/app_session.h"
#include "support/file_size_limit.h"
#include "support/picture_files.h"
#include "support/window_probe.h"

namespace fs = std::filesystem;

namespace {
using Messages = std::vector<std::pair<std::string, std::string>>;

std::set<std::string> Entries(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path())) names.insert(entry.path().filename().string());
    return names;
}

// What one row does: prepares the folder, acts as the user would, and checks.
struct FaultRow {
    const char* name;
    std::function<void(AppSession&)> act;
    // Messages the user saw, with "%" standing for the folder's path.
    Messages seen;
    // Names in the folder afterwards, "quillon.ini" aside.
    std::set<std::string> left;
    std::function<void(AppSession&)> check = [](AppSession&) {};
};

void PrintTo(const FaultRow& row, std::ostream* os) { *os << row.name; }

void Open(AppSession& app, const std::string& path) {
    app.dialogAnswer = path;
    ASSERT_TRUE(TriggerMenuItem("Open..."));
    app.Drain();
}

void Save(AppSession& app) {
    ASSERT_TRUE(TriggerMenuItem("Save"));
    app.Drain();
}

std::string Replace(std::string text, const std::string& folder) {
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + folder.size()))
        text.replace(at, 1, folder);
    return text;
}

const std::string Screen = PatternBytes(6912, 5);

class FaultTable : public AppSession, public ::testing::WithParamInterface<FaultRow> {};
}  // namespace

TEST_P(FaultTable, UserSeesAndDiskKeeps) {
    const FaultRow& row = GetParam();
    Start();
    row.act(*this);
    Messages expected;
    for (const auto& [title, text] : row.seen) expected.emplace_back(title, Replace(text, dir.Path().string()));
    EXPECT_EQ(messages, expected);
    std::set<std::string> left = Entries(dir);
    left.erase("quillon.ini");
    EXPECT_EQ(left, row.left);
    row.check(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FaultTable,
    ::testing::Values(
        FaultRow{"MissingFile",
                 [](AppSession& app) {
                     Open(app, app.dir / "gone.bin");
                     Save(app);
                 },
                 {{"Error!", "error reading file:\n%/gone.bin"}, {"Error!", "no file known!"}},
                 {},
                 [](AppSession& app) {
                     EXPECT_EQ(SourceSize, 0);
                     EXPECT_EQ(app.Title(), "Quillon");
                 }},
        FaultRow{"Directory",
                 [](AppSession& app) {
                     fs::create_directory(app.dir / "folder.sna");
                     Open(app, app.dir / "folder.sna");
                 },
                 {{"Error!", "error reading file:\n%/folder.sna"}},
                 {"folder.sna"}},
        FaultRow{"PathInAMissingFolder",
                 [](AppSession& app) { Open(app, app.dir / "no/such/dump.bin"); },
                 {{"Error!", "error reading file:\n%/no/such/dump.bin"}},
                 {}},
        FaultRow{"FileShrinksDuringTheRead",
                 [](AppSession& app) {
                     static std::string path;
                     path = app.dir.Write("dump.bin", PatternBytes(20000));
                     SetBeforeReadHookForTests([] { fs::resize_file(path, 100); });
                     Open(app, path);
                     SetBeforeReadHookForTests(nullptr);
                 },
                 {},
                 {"dump.bin"},
                 [](AppSession& app) {
                     // The size asked before the read stands; the tail that never came is zero.
                     EXPECT_EQ(SourceSize, 20000);
                     EXPECT_EQ(SourceBuffer[19999], 0);
                     EXPECT_EQ(app.Title(), "Quillon, disp:0");
                 }},
        FaultRow{"EmptyFileAfterALoadedOne",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("full.bin", Screen));
                     Open(app, app.dir.Write("empty.bin", ""));
                     Save(app);
                 },
                 {},
                 {"full.bin", "empty.bin", "empty.scr"},
                 [](AppSession& app) {
                     // The saved screen does not carry the previous file's bytes.
                     const std::string saved = ReadFileBytes(app.dir / "empty.scr");
                     ASSERT_EQ(saved.size(), 6912u);
                     EXPECT_EQ(saved, std::string(6144, '\0') + std::string(768, '\x48'));
                 }},
        FaultRow{"TwoGigabytesOrMore",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("small.bin", Screen));
                     for (off_t size : {off_t{1} << 31, (off_t{1} << 32) + 6912}) {
                         const std::string path = app.dir / ("huge" + std::to_string(size) + ".bin");
                         const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
                         ASSERT_EQ(ftruncate(fd, size), 0);  // sparse: costs no disk
                         close(fd);
                         Open(app, path);
                         fs::remove(path);
                     }
                 },
                 {{"Error!", "error reading file:\n%/huge2147483648.bin"},
                  {"Error!", "error reading file:\n%/huge4294974208.bin"}},
                 {"small.bin"},
                 [](AppSession&) {
                     EXPECT_EQ(SourceSize, 0);
                     EXPECT_EQ(CurrentFileName, "");
                 }},
        FaultRow{"FolderWhereTheScrGoes",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("game.sna", Screen));
                     fs::create_directory(app.dir / "game.scr");
                     SetControlState(ImageTooCheckBox, 1);
                     Save(app);
                     Save(app);
                 },
                 {{"Error!", "Error creating .scr file!"}},
                 {"game.sna", "game.scr", "game1.scr", "game1.png"},
                 [](AppSession& app) {
                     EXPECT_TRUE(fs::is_directory(app.dir / "game.scr"));
                     EXPECT_EQ(ReadFileBytes(app.dir / "game1.scr"), Screen);
                 }},
        FaultRow{"FolderWhereThePictureGoes",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("game.sna", Screen));
                     fs::create_directory(app.dir / "game.bmp");
                     SetControlState(ImageTooCheckBox, 1);
                     SetControlState(FormatComboBox, 0);
                     Save(app);
                 },
                 {},
                 {"game.sna", "game.scr", "game.bmp"},
                 [](AppSession& app) { EXPECT_TRUE(fs::is_directory(app.dir / "game.bmp")); }},
        FaultRow{"FullDeviceBehindTheScrName",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("game.sna", Screen));
                     fs::create_symlink("/dev/full", app.dir / "game.scr");
                     SetControlState(ImageTooCheckBox, 1);
                     Save(app);
                 },
                 {{"Error!", "Error writing .scr file!"}},
                 {"game.sna", "game.scr"},
                 [](AppSession& app) {
                     EXPECT_TRUE(fs::is_symlink(app.dir / "game.scr"));
                     EXPECT_TRUE(fs::is_character_file("/dev/full"));
                 }},
        FaultRow{"DiskFullDuringTheScr",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("game.sna", Screen));
                     FileSizeLimit limit(4000);
                     Save(app);
                 },
                 {{"Error!", "Error writing .scr file!"}},
                 {"game.sna"}},
        FaultRow{"DiskFullDuringThePicture",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("game.sna", Screen));
                     fs::remove(app.dir / "game.sna");  // the save works from the copy in memory
                     SetControlState(ImageTooCheckBox, 1);
                     SetControlState(FormatComboBox, 0);
                     FileSizeLimit limit(100000);  // room for the screen, not for the BMP
                     Save(app);
                 },
                 {},
                 {"game.scr"},
                 [](AppSession& app) { EXPECT_EQ(ReadFileBytes(app.dir / "game.scr"), Screen); }},
        FaultRow{"FolderWhereTheSettingsGo",
                 [](AppSession& app) {
                     fs::create_directory(app.dir / "quillon.ini");
                     app.Stop();
                     app.Start();
                 },
                 {},
                 {},
                 [](AppSession& app) {
                     EXPECT_TRUE(fs::is_directory(app.dir / "quillon.ini"));
                     EXPECT_EQ(ControlState(FormatComboBox), 1);
                 }},
        FaultRow{"SourceIsTheScrItself",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("pic.scr", Screen + PatternBytes(6912, 9)));
                     SetControlState(LineScrollBar, 216);
                     Save(app);
                 },
                 {},
                 {"pic.scr", "pic1.scr"},
                 [](AppSession& app) {
                     EXPECT_EQ(ReadFileBytes(app.dir / "pic.scr").size(), 2u * 6912);
                     EXPECT_EQ(ReadFileBytes(app.dir / "pic1.scr"), PatternBytes(6912, 9));
                 }},
        FaultRow{"NamesWithSpacesNonAsciiAndNewlines",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("my game (1).sna", Screen));
                     Save(app);
                     Open(app, app.dir.Write("Spiel für Jörg.tap", Screen));
                     Save(app);
                     Open(app, app.dir.Write("two\nlines.z80", Screen));
                     Save(app);
                     // A dropped list is cut at line feeds: only the part before one arrives.
                     ASSERT_TRUE(DropFiles(CanvasWidget(), {QString::fromStdString(app.dir / "two\nlines.z80")}));
                     app.Drain();
                 },
                 {{"Error!", "error reading file:\n%/two"}},
                 {"my game (1).sna", "my game (1).scr", "Spiel für Jörg.tap", "Spiel für Jörg.scr",
                  "two\nlines.z80", "two\nlines.scr"}},
        FaultRow{"FifoWhereTheScrGoes",
                 [](AppSession& app) {
                     Open(app, app.dir.Write("game.sna", Screen));
                     ASSERT_EQ(mkfifo((app.dir / "game.scr").c_str(), 0644), 0);
                     Save(app);
                 },
                 {{"Error!", "Error creating .scr file!"}},
                 {"game.sna", "game.scr"}},
        FaultRow{"FifoWithNoWriter",
                 [](AppSession& app) {
                     ASSERT_EQ(mkfifo((app.dir / "pipe").c_str(), 0644), 0);
                     Open(app, app.dir / "pipe");
                 },
                 {},
                 {"pipe"},
                 [](AppSession&) { EXPECT_EQ(SourceSize, 0); }}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
