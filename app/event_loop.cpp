#include "app/event_loop.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "files/screen_file.h"
#include "files/settings_file.h"
#include "files/source_loading.h"
#include "platform/dialogs.h"
#include "platform/drawing.h"
#include "platform/events.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/renderer.h"

bool QuitRequested = false;

namespace {
// Pages when a press was reported since the last poll, even if the key is
// already up again: a quick tap must not be lost.
void PageBy(Key key, int lines) {
    if ((AsyncKeyState(key) & 1) == 0) return;
    const int64_t target = int64_t{ControlState(LineScrollBar)} + lines;
    SetControlState(LineScrollBar, static_cast<int32_t>(std::clamp<int64_t>(target, INT32_MIN, INT32_MAX)));
    Redraw();
}

void OpenCommand() {
    const std::string name = ShowOpenDialog("Please choose file to load", "Any files(*.*)");
    if (name.empty()) return;
    OpenSource(name);
}

void DropCommand(const std::string& droppedNames) {
    const std::string first = droppedNames.substr(0, droppedNames.find('\n'));
    if (!first.empty()) OpenSource(first);
}

void Dispatch(const Event& event) {
    switch (event.Kind) {
        case EventKind::Menu:
            if (event.Number == MenuOpen) OpenCommand();
            if (event.Number == MenuSave) SaveScreen();
            if (event.Number == MenuQuit) QuitRequested = true;
            break;
        case EventKind::Drop:
            DropCommand(event.DroppedNames);
            break;
        case EventKind::CloseRequest:
            QuitRequested = true;
            break;
        case EventKind::Control:
            // The scroll bars have redrawn already through their bound callback.
            if (event.Number == MonoCheckBox || event.Number == ZoomX1Option || event.Number == ZoomX2Option) Redraw();
            break;
        case EventKind::Other:
            break;
    }
}
}  // namespace

void RunLoopPass() {
    const Event event = WaitForEvent();
    PageBy(Key::PageUp, -PageStep);
    PageBy(Key::PageDown, PageStep);
    Dispatch(event);
}

void RunEventLoop() {
    while (!QuitRequested) RunLoopPass();
}

void Shutdown() {
    // Without a window there are no choices to store; keep the user's file as it is.
    if (MainWindowExists()) WriteSettings();
    FreeSource();
    ReleaseOffscreenPicture();
    CloseMainWindow();
}
