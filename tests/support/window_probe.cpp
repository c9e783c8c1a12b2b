#include "support/window_probe.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "screen/control_numbers.h"

QWidget* MainWindowWidget() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle().startsWith("Quillon")) return widget;
    }
    return nullptr;
}

namespace {
template <typename T>
T* ByText(const QString& text) {
    QWidget* window = MainWindowWidget();
    if (window == nullptr) return nullptr;
    for (T* widget : window->findChildren<T*>()) {
        if (widget->text() == text) return widget;
    }
    return nullptr;
}
}  // namespace

QScrollBar* ScrollBarWidget(int number) {
    QWidget* window = MainWindowWidget();
    if (window == nullptr) return nullptr;
    const Qt::Orientation wanted = number == LineScrollBar ? Qt::Vertical : Qt::Horizontal;
    for (QScrollBar* bar : window->findChildren<QScrollBar*>()) {
        // Skip the scroll bars inside the drop-down list's popup.
        if (bar->orientation() == wanted && bar->parentWidget() != nullptr &&
            qobject_cast<QComboBox*>(bar->parentWidget()) == nullptr && bar->width() >= 20 && bar->height() >= 20)
            return bar;
    }
    return nullptr;
}

QWidget* CanvasWidget() {
    QWidget* window = MainWindowWidget();
    if (window == nullptr) return nullptr;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->acceptDrops() && widget->size() == QSize(512, 384)) return widget;
    }
    return nullptr;
}

QWidget* ControlWidget(int number) {
    switch (number) {
        case ViewCanvas: return CanvasWidget();
        case LineScrollBar:
        case ByteScrollBar: return ScrollBarWidget(number);
        case MonoCheckBox: return ByText<QCheckBox>("b-w");
        case ZoomX1Option: return ByText<QRadioButton>("x1");
        case ZoomX2Option: return ByText<QRadioButton>("x2");
        case ImageTooCheckBox: return ByText<QCheckBox>("s");
        case FormatComboBox: {
            QWidget* window = MainWindowWidget();
            return window != nullptr ? window->findChild<QComboBox*>() : nullptr;
        }
        default: return nullptr;
    }
}

bool DropFiles(QWidget* target, const QStringList& paths, Qt::DropActions actions) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(centre), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

bool TriggerMenuItem(const QString& text) {
    QWidget* window = MainWindowWidget();
    if (window == nullptr) return false;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->text() == text) {
            action->trigger();
            return true;
        }
    }
    return false;
}

void SendKey(Qt::Key key, bool press, bool autoRepeat) {
    QWidget* window = MainWindowWidget();
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window;
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(target, &event);
}
