#pragma once
// A main window with controls laid out like the program's: a canvas, two
// scroll bars, a check box, two options, a second check box and a list.
// Numbers follow screen/control_numbers.h.
#include <vector>

#include "platform/events.h"

class QPoint;
class QScrollBar;
class QWidget;

// Creates the window (closing any previous one) and its controls.
void OpenTestWindow();
// Drains the event queue without waiting.
std::vector<Event> TakeEvents();
// The point at the centre of a part of a scroll bar (QStyle::SubControl).
QPoint ScrollBarPart(QScrollBar* bar, int subControl);
