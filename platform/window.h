#pragma once
// The program's one window, its menu and its controls, reached by number.
#include <cstdint>
#include <string>

// Starts and stops the GUI toolkit. StartPlatform is idempotent.
bool StartPlatform(int argc, char** argv);
void StopPlatform();

// Creates the fixed-size main window for a client area of the given size
// without menu bar, centred on the primary screen, shown and activated.
bool CreateMainWindow(const std::string& title, int clientWidth, int clientHeight);
bool MainWindowExists();
// Closes the window and forgets every control (the next CreateMainWindow starts afresh).
void CloseMainWindow();
void SetWindowTitle(const std::string& title);
std::string WindowTitle();
// Sets the window's icon from two images (resource or file paths).
void SetWindowIcon(const std::string& image32, const std::string& image16);

// The menu bar takes its height out of the client area; controls are placed
// below it. AddMenu and AddMenuItem do nothing without a menu bar.
bool CreateMenuBar();
void AddMenu(const std::string& title);
void AddMenuItem(int number, const std::string& text);

// Controls, numbered by the caller; geometry in client pixels below the menu bar.
void CreateCanvas(int number, int x, int y, int width, int height);
void CreateScrollBar(int number, bool vertical, int x, int y, int width, int height,
                     int32_t minimum, int32_t maximum, int32_t pageLength);
void CreateCheckBox(int number, int x, int y, int width, int height, const std::string& caption);
// Option buttons created one after another form one group.
void CreateOptionButton(int number, int x, int y, int width, int height, const std::string& caption);
void CreateDropDownList(int number, int x, int y, int width, int height);
void AddListItem(int number, const std::string& text);
void SetToolTip(int number, const std::string& text);
void AcceptFileDrops(int number);
// Runs callback synchronously on every user action on the control.
void BindCallback(int number, void (*callback)());

// State by number: check box and option 0/1, list index or -1, scroll-bar
// position. Unknown numbers read 0; setting raises no event, runs no callback.
int32_t ControlState(int number);
void SetControlState(int number, int32_t state);
void SetScrollBarMaximum(int number, int32_t maximum);
void SetScrollBarPageLength(int number, int32_t pageLength);
int32_t ScrollBarMaximum(int number);
int32_t ScrollBarPageLength(int number);
