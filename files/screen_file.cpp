#include "files/screen_file.h"

#include <optional>

#include "files/path_rules.h"
#include "files/picture_export.h"
#include "files/screen_bytes.h"
#include "files/source_loading.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/source.h"

int32_t SaveCounter = 0;
std::string SaveBaseName;

std::string SaveNameFor(const std::string& sourcePath, int32_t counter) {
    const std::string fileName = PathFileName(sourcePath);
    const std::optional<std::string> extension = PathExtension(sourcePath);
    const std::size_t cut = extension.has_value() ? extension->size() + 1 : 0;
    const std::string stem = PathDirectory(sourcePath) + fileName.substr(0, fileName.size() - cut);
    return counter == 0 ? stem : stem + std::to_string(counter);
}

namespace {
// The picture file that ExportImage will write for this base name, if any.
std::optional<std::string> PictureName(const std::string& baseName) {
    if (ControlState(ImageTooCheckBox) == 0) return std::nullopt;
    switch (ControlState(FormatComboBox)) {
        case 0: return baseName + ".bmp";
        case 1: return baseName + ".png";
        case 2: return baseName + ".jpg";
        default: return std::nullopt;
    }
}

// By name or by the file it reaches (hard links, symbolic links, "./").
bool IsSourceFile(const std::string& name) {
    return name == CurrentFileName || SameFile(name, CurrentFileName);
}

bool WouldReplaceSource(const std::string& baseName) {
    const std::optional<std::string> picture = PictureName(baseName);
    return IsSourceFile(baseName + ".scr") || (picture.has_value() && IsSourceFile(*picture));
}

// Forms SaveBaseName from the counter and moves the counter on; a number
// whose files would overwrite the file being viewed is passed over. False
// only when the numbers have run out.
bool TakeNextBaseName() {
    while (true) {
        SaveBaseName = SaveNameFor(CurrentFileName, SaveCounter);
        if (SaveCounter == INT32_MAX) return !WouldReplaceSource(SaveBaseName);
        ++SaveCounter;
        if (!WouldReplaceSource(SaveBaseName)) return true;
    }
}
}  // namespace

void SaveScreen() {
    if (CurrentFileName.empty()) {
        ShowMessageBox("Error!", "no file known!");
        return;
    }
    if (!TakeNextBaseName()) {
        ShowMessageBox("Error!", "Error creating .scr file!");
        return;
    }
    const int64_t offset = int64_t{ControlState(ByteScrollBar)} + int64_t{LineLength} * ControlState(LineScrollBar);
    const ScreenBytes bytes = MakeScreenBytes(SourceBuffer, SourceSize, offset, ControlState(MonoCheckBox) != 0);
    switch (WriteScreenBytes(SaveBaseName + ".scr", bytes)) {
        case ScreenWrite::NotCreated:
            ShowMessageBox("Error!", "Error creating .scr file!");
            return;
        case ScreenWrite::WriteFailed:
            ShowMessageBox("Error!", "Error writing .scr file!");
            return;
        case ScreenWrite::Written:
            break;
    }
    if (ControlState(ImageTooCheckBox) != 0) ExportImage(SaveBaseName);
}
