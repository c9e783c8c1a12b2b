// The user's choices across a real start-up and shutdown of the program.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/window.h"
#include "screen/control_numbers.h"
#include "support/app_session.h"
#include "support/window_probe.h"

namespace {
std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct SettingsCase {
    const char* name;
    const char* file;  // nullptr: no settings file
    std::size_t fileSize;
    int32_t mono, imageToo, format;
    std::string writtenBack;
};

void PrintTo(const SettingsCase& c, std::ostream* os) { *os << c.name; }

class SettingsRoundTrip : public AppSession, public ::testing::WithParamInterface<SettingsCase> {};
}  // namespace

TEST_P(SettingsRoundTrip, StartShowsTheFileAndExitWritesThreeBytes) {
    const SettingsCase& c = GetParam();
    if (c.file != nullptr) dir.Write("quillon.ini", std::string(c.file, c.fileSize));
    Start();
    EXPECT_EQ(ControlState(MonoCheckBox), c.mono);
    EXPECT_EQ(ControlState(ImageTooCheckBox), c.imageToo);
    EXPECT_EQ(ControlState(FormatComboBox), c.format);
    // The zoom is never stored: every start shows "x1".
    EXPECT_EQ(ControlState(ZoomX1Option), 1);
    EXPECT_EQ(ControlState(ZoomX2Option), 0);
    Stop();
    EXPECT_EQ(ReadAll(dir / "quillon.ini"), c.writtenBack);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsRoundTrip,
    ::testing::Values(SettingsCase{"NoFile", nullptr, 0, 0, 0, 1, std::string("\x00\x00\x01", 3)},
                      SettingsCase{"AllOnJpg", "\x01\x01\x02", 3, 1, 1, 2, std::string("\x01\x01\x02", 3)},
                      SettingsCase{"SingleByte", "\x01", 1, 1, 0, 0, std::string("\x01\x00\x00", 3)},
                      SettingsCase{"EmptyFile", "", 0, 0, 0, 0, std::string("\x00\x00\x00", 3)},
                      SettingsCase{"BigValues", "\x05\xFF\x07", 3, 1, 1, -1, std::string("\x01\x01\xFF", 3)},
                      SettingsCase{"TenBytes", "\x00\x01\x00\x09\x09\x09\x09\x09\x09\x09", 10, 0, 1, 0,
                                   std::string("\x00\x01\x00", 3)}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(AppSession, ChoicesMadeDuringTheRunSurviveARestartButTheZoomDoesNot) {
    Start();
    QTest::mouseClick(ControlWidget(ImageTooCheckBox), Qt::LeftButton);
    QTest::mouseClick(ControlWidget(ZoomX2Option), Qt::LeftButton);
    Drain();
    Stop();
    Start();
    EXPECT_EQ(ControlState(ImageTooCheckBox), 1);
    EXPECT_EQ(ControlState(FormatComboBox), 1);
    EXPECT_EQ(ControlState(ZoomX1Option), 1);
    EXPECT_EQ(ControlState(ZoomX2Option), 0);
}

TEST_F(AppSession, ASettingsFolderInTheWayIsNoCrashAndNoMessage) {
    std::filesystem::create_directory(dir / "quillon.ini");
    Start();
    EXPECT_EQ(ControlState(FormatComboBox), 1);
    Stop();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "quillon.ini"));
    EXPECT_TRUE(messages.empty());
    // No temporary file is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 1);
}
