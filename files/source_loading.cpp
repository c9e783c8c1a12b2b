#include "files/source_loading.h"

#include <optional>

#include "files/path_rules.h"
#include "files/screen_file.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/renderer.h"
#include "screen/source.h"

std::string CurrentFileName;

namespace {
// Largest file that SourceSize, a signed 32-bit count, can describe.
constexpr int64_t LargestSource = INT32_MAX;

// Only ASCII letters change: no other character lower-cases to "sna", and
// leaving the bytes of UTF-8 sequences alone keeps them intact.
std::string AsciiLowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool IsSnapshot(const std::string& path) {
    if (FileSizeByName(path) != SnapshotSize) return false;
    const std::optional<std::string> extension = PathExtension(path);
    return extension.has_value() && AsciiLowerCase(*extension) == "sna";
}

// Nothing to show and no file known; the old block stays until the next load.
void ReportUnreadable(const std::string& path) {
    ShowMessageBox("Error!", "error reading file:\n" + path);
    SourceSize = 0;
    CurrentFileName.clear();
}
}  // namespace

void OpenSource(const std::string& path) {
    CurrentFileName = path;
    LoadSource(CurrentFileName);
    SaveCounter = 0;
    if (IsSnapshot(CurrentFileName)) {
        SetControlState(ByteScrollBar, SnapshotOffset);
        SetControlState(LineScrollBar, 0);
    }
    Redraw();
}

void LoadSource(const std::string& path) {
    FileHandle* file = OpenForReading(path);
    if (file == nullptr) {
        ReportUnreadable(path);
        return;
    }
    const int64_t size = FileSizeByName(path);
    if (size < 0 || size > LargestSource) {
        CloseFile(file);
        ReportUnreadable(path);
        return;
    }
    if (size == 0) {
        // The previous file's bytes must not be saved under this file's name.
        SourceSize = 0;
        CloseFile(file);
        return;
    }
    const auto sourceSize = static_cast<int32_t>(size);
    SetScrollBarMaximum(LineScrollBar, sourceSize / LineLength);
    SetScrollBarPageLength(LineScrollBar, LineLength);

    FreeSource();
    SourceBuffer = AllocateZeroed(size);
    if (SourceBuffer == nullptr) {
        CloseFile(file);
        ReportUnreadable(path);
        return;
    }
    SourceSize = sourceSize;
    // A file that shrank since the size query leaves its missing tail zero.
    ReadBlock(file, SourceBuffer, size);
    CloseFile(file);
}

// Nothing is left to show either, so no reader can reach the released block.
void FreeSource() {
    SourceSize = 0;
    if (SourceBuffer == nullptr) return;
    ReleaseBlock(SourceBuffer);
    SourceBuffer = nullptr;
}
