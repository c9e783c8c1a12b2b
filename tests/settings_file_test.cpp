// Writing the settings file when something is in the way: the old file stays
// as it was and no temporary file is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "files/settings_file.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "support/picture_files.h"
#include "support/platform_window.h"
#include "support/temp_dir.h"

namespace {
namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        OpenTestWindow();
        oldDirectory = fs::current_path();
        fs::current_path(dir.Path());
    }
    void TearDown() override { fs::current_path(oldDirectory); }

    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path())) names.insert(entry.path().filename().string());
        return names;
    }

    TempDir dir;
    fs::path oldDirectory;
};

struct WriteCase {
    const char* what;
    std::function<void(const TempDir&)> inTheWay;
    std::string fileAfter;  // content of quillon.ini after the write
    std::set<std::string> entriesAfter;
};

TEST_F(SettingsFile, AFailedWriteLeavesTheOldFileAsItWas) {
    const std::string old("\x05\xFF\x07\x09", 4);
    const WriteCase cases[] = {
        {"nothing", [](const TempDir&) {}, std::string("\x00\x01\xFF", 3), {"quillon.ini"}},
        {"temporary name taken by a folder",
         [](const TempDir& d) { fs::create_directory(d / "quillon.ini.tmp"); },
         old,
         {"quillon.ini", "quillon.ini.tmp"}},
        // A link someone left at the temporary name stays where it is.
        {"disk full",
         [](const TempDir& d) { fs::create_symlink("/dev/full", d / "quillon.ini.tmp"); },
         old,
         {"quillon.ini", "quillon.ini.tmp"}},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir / "quillon.ini.tmp");
        dir.Write("quillon.ini", old);
        ReadSettings();
        SetControlState(MonoCheckBox, 0);
        c.inTheWay(dir);
        WriteSettings();
        EXPECT_EQ(ReadFileBytes(dir / "quillon.ini"), c.fileAfter);
        EXPECT_EQ(Entries(), c.entriesAfter);
    }
    EXPECT_TRUE(fs::exists("/dev/full"));
}
}  // namespace
