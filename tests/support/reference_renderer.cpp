#include "support/reference_renderer.h"

#include "platform/drawing.h"
#include "screen/palette.h"
#include "screen/screen_layout.h"

bool PaintByBoxes(Picture target, const ViewSettings& view, const uint8_t* source, int64_t size) {
    if (!BeginDrawing(&target)) return false;
    FillBox(0, 0, 512, 384, 0);
    const int z = view.Zoom;
    const int n = z == 2 ? 1 : 2;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int64_t b = view.Offset + int64_t{ScreenSize} * (n * i + j);
            for (int y = 0; y < 192; ++y) {
                for (int c = 0; c < 32; ++c) {
                    const int64_t p = b + LineOffset(y) + c;
                    const uint8_t byte = p < size ? source[p] : 0;
                    const int64_t a = b + BitmapSize + 32 * (y / 8) + c;
                    uint8_t attribute = a < size ? source[a] : MissingAttribute;
                    if (view.Mono) attribute = MonoAttribute;
                    for (int m = 0; m < 8; ++m) {
                        const uint32_t colour = (byte & (0x80 >> m)) != 0 ? InkTable[attribute] : PaperTable[attribute];
                        FillBox((256 * i + 8 * c + m) * z, (192 * j + y) * z, z, z, colour);
                    }
                }
            }
        }
    }
    EndDrawing();
    return true;
}
