// The asynchronous state of PageUp and PageDown, kept from the key events the
// application filter sees.
#include <QKeyEvent>

#include "platform/events.h"
#include "platform/qt_internal.h"

namespace {
struct KeyState {
    bool Down = false;
    bool PressedSinceQuery = false;
};
KeyState PageUpState;
KeyState PageDownState;

KeyState* StateOf(int qtKey) {
    if (qtKey == Qt::Key_PageUp) return &PageUpState;
    if (qtKey == Qt::Key_PageDown) return &PageDownState;
    return nullptr;
}
}  // namespace

void NoteKeyEvent(const QKeyEvent* event) {
    KeyState* state = StateOf(event->key());
    if (state == nullptr) return;
    if (event->type() == QEvent::KeyPress) {
        // Auto-repeat while the key is held is not a new press.
        if (!event->isAutoRepeat()) state->PressedSinceQuery = true;
        state->Down = true;
    } else if (!event->isAutoRepeat()) {
        // Some systems send a release before each repeated press; only a real release lifts the key.
        state->Down = false;
    }
}

void ReleaseHeldKeys() {
    PageUpState.Down = false;
    PageDownState.Down = false;
}

void ClearKeyState() {
    PageUpState = KeyState{};
    PageDownState = KeyState{};
}

int16_t AsyncKeyState(Key key) {
    KeyState& state = key == Key::PageUp ? PageUpState : PageDownState;
    const uint16_t bits = static_cast<uint16_t>((state.Down ? 0x8000u : 0u) | (state.PressedSinceQuery ? 1u : 0u));
    state.PressedSinceQuery = false;
    return static_cast<int16_t>(bits);
}
