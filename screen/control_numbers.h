#pragma once
// The window's controls and menu items by number. The renderer, the loader and
// the savers read and set controls only through these numbers.

enum ControlNumber : int {
    ViewCanvas = 0,
    LineScrollBar = 1,
    ByteScrollBar = 2,
    MonoCheckBox = 3,
    ZoomX1Option = 4,
    ZoomX2Option = 5,
    ImageTooCheckBox = 6,
    FormatComboBox = 7,
};

enum MenuNumber : int {
    MenuOpen = 0,
    MenuSave = 1,
    MenuQuit = 2,
};
