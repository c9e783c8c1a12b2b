#include "support/platform_window.h"

#include <QScrollBar>
#include <QStyle>

#include "platform/qt_internal.h"
#include "platform/window.h"
#include "support/platform_session.h"
#include "support/window_probe.h"

void OpenTestWindow() {
    EnsurePlatform();
    CreateMainWindow("Quillon", 530, 452);
    CreateCanvas(0, 0, 20, 512, 384);
    if (CreateMenuBar()) {
        AddMenu("File");
        AddMenuItem(0, "Open...");
        AddMenuItem(1, "Save");
        AddMenuItem(2, "Quit");
    }
    CreateScrollBar(1, true, 512, 20, 20, 384, 0, 32, 32);
    CreateScrollBar(2, false, 0, 404, 530, 20, 0, 31, 1);
    AcceptFileDrops(0);
    CreateCheckBox(3, 0, 0, 60, 20, "b-w");
    CreateOptionButton(4, 60, 0, 30, 20, "x1");
    CreateOptionButton(5, 90, 0, 30, 20, "x2");
    CreateCheckBox(6, 120, 0, 30, 20, "s");
    CreateDropDownList(7, 150, 0, 50, 20);
    for (const char* item : {"BMP", "PNG", "JPG"}) AddListItem(7, item);
    SetControlState(7, 1);
    SetControlState(4, 1);
    TakeEvents();
}

std::vector<Event> TakeEvents() {
    std::vector<Event> events;
    while (EventPending()) events.push_back(WaitForEvent());
    return events;
}

QPoint ScrollBarPart(QScrollBar* bar, int subControl) {
    return ScrollBarPartRect(bar, static_cast<QStyle::SubControl>(subControl)).center();
}
