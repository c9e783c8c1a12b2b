#include "screen/renderer.h"

#include "platform/drawing.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/source.h"

int Zoom = 1;

ViewSettings ReadViewSettings() {
    ViewSettings view;
    view.Offset = int64_t{ControlState(ByteScrollBar)} + 32 * int64_t{ControlState(LineScrollBar)};
    view.Zoom = ControlState(ZoomX1Option) + 2 * ControlState(ZoomX2Option);
    view.Mono = ControlState(MonoCheckBox) != 0;
    return view;
}

void DrawScreens() {
    Picture* target = OpenDrawTarget();
    if (SourceSize <= 0 || SourceBuffer == nullptr || target == nullptr) return;
    const ViewSettings view = ReadViewSettings();
    Zoom = view.Zoom;
    PaintView(*target, view, SourceBuffer, SourceSize);
    SetWindowTitle(OffsetTitle(view.Offset));
}

void Redraw() {
    // Without a canvas there is nothing to draw on; the program carries on.
    if (!BeginDrawing(CanvasPicture())) return;
    DrawScreens();
    EndDrawing();
}
