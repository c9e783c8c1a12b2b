#include "support/test_window.h"

#include "platform/window.h"
#include "screen/control_numbers.h"
#include "support/platform_session.h"

void CreateTestWindow() {
    EnsurePlatform();
    if (MainWindowExists()) CloseMainWindow();
    CreateMainWindow("Quillon", 530, 452);
    CreateCanvas(ViewCanvas, 0, 20, 512, 384);
    CreateScrollBar(LineScrollBar, true, 512, 20, 20, 384, 0, 32, 32);
    CreateScrollBar(ByteScrollBar, false, 0, 404, 530, 20, 0, 31, 1);
    CreateCheckBox(MonoCheckBox, 0, 0, 60, 20, "b-w");
    CreateOptionButton(ZoomX1Option, 60, 0, 30, 20, "x1");
    CreateOptionButton(ZoomX2Option, 90, 0, 30, 20, "x2");
    CreateCheckBox(ImageTooCheckBox, 120, 0, 30, 20, "s");
    CreateDropDownList(FormatComboBox, 150, 0, 50, 20);
    AddListItem(FormatComboBox, "BMP");
    AddListItem(FormatComboBox, "PNG");
    AddListItem(FormatComboBox, "JPG");
    SetControlState(FormatComboBox, 1);
    SetControlState(ZoomX1Option, 1);
}
