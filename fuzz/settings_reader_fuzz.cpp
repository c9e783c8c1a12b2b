// The settings file over any contents: the three states are what the first
// three bytes say (missing bytes count as 0), and writing them back gives a
// file of exactly three bytes that reads back to the same states.
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "files/settings_file.h"
#include "fuzz_session.h"
#include "platform/window.h"
#include "screen/control_numbers.h"

namespace {
const char* const SettingsName = "quillon.ini";

struct Choices {
    int32_t Mono;
    int32_t ImageToo;
    int32_t Format;
    bool operator==(const Choices&) const = default;
};

Choices CurrentChoices() {
    return {ControlState(MonoCheckBox), ControlState(ImageTooCheckBox), ControlState(FormatComboBox)};
}

Choices ChoicesFromBytes(const uint8_t* data, std::size_t size) {
    const auto at = [&](std::size_t i) -> uint8_t { return i < size ? data[i] : 0; };
    return {at(0) != 0 ? 1 : 0, at(1) != 0 ? 1 : 0, at(2) <= 2 ? int32_t{at(2)} : -1};
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    StartFuzzSession(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    SettleFuzzEvents();
    EmptyFuzzDirectory();
    // States unlike any that a file gives, so that a byte left unapplied shows.
    SetControlState(MonoCheckBox, data == nullptr || size == 0 || data[0] == 0 ? 1 : 0);
    SetControlState(ImageTooCheckBox, size < 2 || data[1] == 0 ? 1 : 0);
    SetControlState(FormatComboBox, size >= 3 && data[2] == 1 ? 2 : 1);

    FUZZ_CHECK(WriteWholeFile(SettingsName, std::vector<uint8_t>(data, data + size)));
    ReadSettings();
    const Choices read = CurrentChoices();
    FUZZ_CHECK(read == ChoicesFromBytes(data, size));

    WriteSettings();
    std::vector<uint8_t> written;
    FUZZ_CHECK(ReadWholeFile(SettingsName, &written));
    FUZZ_CHECK_EQ(written.size(), std::size_t{3});
    FUZZ_CHECK_EQ(written[0], static_cast<uint8_t>(read.Mono));
    FUZZ_CHECK_EQ(written[1], static_cast<uint8_t>(read.ImageToo));
    FUZZ_CHECK_EQ(written[2], static_cast<uint8_t>(read.Format & 0xFF));
    // Nothing else is left behind in the working directory.
    const auto entries = std::distance(std::filesystem::directory_iterator(FuzzDirectory()),
                                       std::filesystem::directory_iterator());
    FUZZ_CHECK_EQ(entries, 1);

    SetControlState(MonoCheckBox, 1 - read.Mono);
    SetControlState(ImageTooCheckBox, 1 - read.ImageToo);
    SetControlState(FormatComboBox, read.Format == 0 ? 1 : 0);
    ReadSettings();
    FUZZ_CHECK(CurrentChoices() == read);
    return 0;
}
