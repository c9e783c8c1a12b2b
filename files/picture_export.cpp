#include "files/picture_export.h"

#include "platform/drawing.h"
#include "platform/window.h"
#include "screen/control_numbers.h"
#include "screen/renderer.h"

void PrepareImageWriters() {
    // Nothing to do: libpng and libjpeg keep no process-wide state. Each
    // writer builds its library structures per file (libpng checks its
    // version there) and destroys them before it returns.
}

void ExportImage(const std::string& baseName) {
    const int zoom = ControlState(ZoomX1Option) + 2 * ControlState(ZoomX2Option);
    // Replaces the picture of the previous export; nullptr for a zoom of 0 or
    // when memory runs out, and then there is nothing to draw or write.
    Picture* picture = CreateOffscreenPicture(256 * zoom, 192 * zoom);
    if (picture == nullptr || !BeginDrawing(picture)) return;
    // At zoom 1 the picture takes only the top-left of the four screens.
    DrawScreens();
    EndDrawing();

    const char* extension = nullptr;
    PictureFormat format = PictureFormat::Bmp;
    switch (ControlState(FormatComboBox)) {
        case 0: extension = ".bmp"; format = PictureFormat::Bmp; break;
        case 1: extension = ".png"; format = PictureFormat::Png; break;
        case 2: extension = ".jpg"; format = PictureFormat::Jpeg; break;
        default: return;  // nothing selected: no picture, and that is no error
    }
    // The export reports nothing, success or failure.
    SavePicture(picture, baseName + extension, format);
}
