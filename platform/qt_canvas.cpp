// The canvas: a widget that shows its own picture, which the program draws into.
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <algorithm>

#include "platform/drawing.h"
#include "platform/qt_internal.h"
#include "platform/window.h"

namespace {
QPointer<QWidget> CanvasWidget;
QImage* CanvasImage = nullptr;
Picture CanvasSurface;

// Called by EndDrawing: the new picture is on screen when this returns.
void ShowCanvasNow() {
    if (CanvasWidget) CanvasWidget->repaint();
}
}  // namespace

void CreateCanvas(int number, int x, int y, int width, int height) {
    if (ControlArea() == nullptr) return;
    auto* widget = new QWidget(ControlArea());
    widget->setFocusPolicy(Qt::NoFocus);
    // The picture covers the whole widget: Qt need not clear it first.
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    AddControl(number, ControlKind::Canvas, widget, x, y, width, height);
    ReleaseCanvasPicture();
    // Blue, green, red, 0xFF in memory on little-endian machines, as drawing expects.
    auto* image = new QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    if (image->isNull()) {
        delete image;
        return;
    }
    image->fill(Qt::white);
    CanvasImage = image;
    CanvasWidget = widget;
    CanvasSurface = Picture{};
    CanvasSurface.Top = image->bits();
    CanvasSurface.RowStride = image->bytesPerLine();
    CanvasSurface.Width = image->width();
    CanvasSurface.Height = image->height();
    CanvasSurface.BytesPerPixel = 4;
    CanvasSurface.Memory = image->bits();
    CanvasSurface.MemoryBytes = static_cast<std::size_t>(image->sizeInBytes());
    RegisterCanvasPicture(&CanvasSurface, ShowCanvasNow);
}

void ReleaseCanvasPicture() {
    if (CanvasImage == nullptr) return;
    RegisterCanvasPicture(nullptr, nullptr);
    delete CanvasImage;
    CanvasImage = nullptr;
    CanvasWidget = nullptr;
    CanvasSurface = Picture{};
}

bool PaintCanvas(QObject* receiver) {
    if (CanvasImage == nullptr || receiver != CanvasWidget.data()) return false;
    QPainter painter(CanvasWidget.data());
    painter.drawImage(QPoint(0, 0), *CanvasImage);
    return true;
}
