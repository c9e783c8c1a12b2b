#include "files/settings_file.h"

#include <cstdint>

#include "platform/files.h"
#include "platform/window.h"
#include "screen/control_numbers.h"

namespace {
const char* const SettingsFile = "quillon.ini";
// Written first and renamed over the settings file, so that a failed write
// never leaves it half written.
const char* const SettingsTempFile = "quillon.ini.tmp";

int32_t FormatFromByte(uint8_t byte) { return byte <= 2 ? byte : -1; }
}  // namespace

void ReadSettings() {
    FileHandle* file = OpenForReading(SettingsFile);
    if (file == nullptr) return;
    // ReadByte gives 0 beyond the end, so a short file reads as zeros.
    const uint8_t mono = ReadByte(file);
    const uint8_t imageToo = ReadByte(file);
    const uint8_t format = ReadByte(file);
    CloseFile(file);
    SetControlState(MonoCheckBox, mono != 0 ? 1 : 0);
    SetControlState(ImageTooCheckBox, imageToo != 0 ? 1 : 0);
    SetControlState(FormatComboBox, FormatFromByte(format));
}

void WriteSettings() {
    // The low 8 bits of each state: no format selected (-1) is stored as 255.
    const uint8_t bytes[3] = {
        static_cast<uint8_t>(ControlState(MonoCheckBox) & 0xFF),
        static_cast<uint8_t>(ControlState(ImageTooCheckBox) & 0xFF),
        static_cast<uint8_t>(ControlState(FormatComboBox) & 0xFF),
    };
    FileHandle* file = CreateForWriting(SettingsTempFile);
    if (file == nullptr) return;
    const bool written = WriteBlock(file, bytes, sizeof bytes);
    const bool closed = CloseFile(file);
    if (!written || !closed || !RenameFile(SettingsTempFile, SettingsFile)) DeleteFile(SettingsTempFile);
}
