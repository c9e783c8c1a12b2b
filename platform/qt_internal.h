#pragma once
// What the Qt backend's files share among themselves (and with the platform
// tests, which reach the real widgets through it). Nothing above platform/
// includes this header.
#include <cstdint>
#include <string>

#include "platform/events.h"

class QEvent;
class QFileDialog;
class QKeyEvent;
class QObject;
class QWidget;

enum class ControlKind { Canvas, ScrollBar, CheckBox, Option, List };

struct Control {
    int Number = 0;
    ControlKind Kind = ControlKind::Canvas;
    QWidget* Widget = nullptr;
    void (*Callback)() = nullptr;
    int Group = 0;  // option buttons created one after another share a group
    // Scroll bars keep the Windows-style range; Qt holds only the reachable part.
    int32_t Minimum = 0;
    int32_t Maximum = 0;
    int32_t PageLength = 0;
    bool AcceptsDrops = false;
};

// The main window, or nullptr while there is none.
QWidget* MainWindowWidget();
// The widget below the menu bar that holds the controls.
QWidget* ControlArea();

// The control table. Widgets belong to the window; forgetting them deletes nothing.
Control* FindControl(int number);
Control* FindControlByWidget(const QObject* widget);
QWidget* ControlWidget(int number);
// Adds a control to the table (replacing one of the same number) and shows it.
Control& AddControl(int number, ControlKind kind, QWidget* widget, int x, int y, int width, int height);
void ForgetControls();

// The queue that WaitForEvent drains.
void PushEvent(Event event);
void ClearEventQueue();
// A user action on a control: queues its control event, then runs its callback.
void RaiseControlEvent(int number);
// Every input message to the main window's widgets, as an Other event.
void NoteInput(QObject* receiver, QEvent* event);

// The application-wide filter that sees every event before its receiver does.
void InstallInputFilter();
void RemoveInputFilter();

// Canvas: paints the canvas widget from its picture; false for other widgets.
bool PaintCanvas(QObject* receiver);
void ReleaseCanvasPicture();

// Key state: follows PageUp and PageDown presses and releases.
void NoteKeyEvent(const QKeyEvent* event);
// Forgets held keys (the window lost the keyboard, so no release will come).
void ReleaseHeldKeys();
void ClearKeyState();

// Drag and drop on the main window's widgets; true when the event was handled.
bool FilterDragEvent(QObject* receiver, QEvent* event);

// Sets up the open dialog as ShowOpenDialog shows it (tests inspect it).
void ConfigureOpenDialog(QFileDialog& dialog, const std::string& filterCaption);
