#include "app/startup.h"

#include "app/event_loop.h"
#include "files/picture_export.h"
#include "files/screen_file.h"
#include "files/settings_file.h"
#include "files/source_loading.h"
#include "platform/memory.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/palette.h"
#include "screen/renderer.h"
#include "screen/source.h"

namespace {
constexpr int ClientWidth = 530;
constexpr int ClientHeight = 452;

void CreateMenu() {
    // Without a menu bar the program still runs: drops and the close button work.
    if (!CreateMenuBar()) return;
    AddMenu("File");
    AddMenuItem(MenuOpen, "Open...");
    AddMenuItem(MenuSave, "Save");
    AddMenuItem(MenuQuit, "Quit");
}

void CreateControls() {
    CreateCanvas(ViewCanvas, 0, 20, 512, 384);
    CreateMenu();
    CreateScrollBar(LineScrollBar, true, 512, 20, 20, 384, 0, 32, 32);
    CreateScrollBar(ByteScrollBar, false, 0, 404, 530, 20, 0, 31, 1);
    AcceptFileDrops(ViewCanvas);
    CreateCheckBox(MonoCheckBox, 0, 0, 60, 20, "b-w");
    SetToolTip(MonoCheckBox, "if check displays black/white");
    CreateOptionButton(ZoomX1Option, 60, 0, 30, 20, "x1");
    SetToolTip(ZoomX1Option, "no zoom");
    CreateOptionButton(ZoomX2Option, 90, 0, 30, 20, "x2");
    SetToolTip(ZoomX2Option, "zoom x2");
    CreateCheckBox(ImageTooCheckBox, 120, 0, 30, 20, "s");
    SetToolTip(ImageTooCheckBox, "Save image too");
    CreateDropDownList(FormatComboBox, 150, 0, 50, 20);
    SetToolTip(FormatComboBox, "Image format");
    AddListItem(FormatComboBox, "BMP");
    AddListItem(FormatComboBox, "PNG");
    AddListItem(FormatComboBox, "JPG");
    SetControlState(FormatComboBox, 1);
    SetControlState(ZoomX1Option, 1);
}
}  // namespace

bool StartUp() {
    CurrentFileName.clear();
    SourceSize = 0;
    SaveCounter = 0;
    PrepareImageWriters();
    if (!CreateMainWindow("Quillon", ClientWidth, ClientHeight)) return false;
    SetWindowIcon(":/quillon-32.png", ":/quillon-16.png");
    CreateControls();
    ReadSettings();
    BindCallback(ByteScrollBar, Redraw);
    BindCallback(LineScrollBar, Redraw);
    BuildPalette();
    // A small zeroed block, so that the source never points nowhere before the first load.
    FreeSource();
    SourceBuffer = AllocateZeroed(4);
    QuitRequested = false;
    return true;
}
