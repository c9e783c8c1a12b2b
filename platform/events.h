#pragma once
// The wait for the next event, and the asynchronous key state.
#include <cstdint>
#include <string>

enum class EventKind { Menu, Control, Drop, CloseRequest, Other };

struct Event {
    EventKind Kind = EventKind::Other;
    int Number = 0;            // menu item or control number
    std::string DroppedNames;  // full paths joined by line feeds
};

// Blocks without using the processor until there is input; returns once for
// every input message, as Other when it raises none of the events above.
Event WaitForEvent();
// Tests: true when WaitForEvent would return at once.
bool EventPending();

enum class Key { PageUp, PageDown };
// Bit 15: down now. Bit 0: pressed since the previous query (cleared by this
// query). Auto-repeat while a key is held is not a new press.
int16_t AsyncKeyState(Key key);
