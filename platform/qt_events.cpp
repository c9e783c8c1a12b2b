// The event queue, the wait for the next event, and the application-wide
// filter that turns Qt's events into the program's.
#include <QApplication>
#include <QCloseEvent>
#include <QInputEvent>
#include <QPointer>
#include <QWidget>

#include <deque>

#include "platform/events.h"
#include "platform/qt_internal.h"

namespace {
std::deque<Event> Queue;
// Events the loop does nothing with are dropped beyond this many waiting, so
// that a storm of mouse moves cannot grow memory while the loop is busy.
constexpr std::size_t OtherEventLimit = 256;

// The last input event counted, to count an event passed on to a parent once.
struct CountedInput {
    QEvent::Type Type = QEvent::None;
    quint64 Timestamp = 0;
    QPointer<QWidget> Receiver;
};
CountedInput LastInput;

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

bool IsAltF4(const QKeyEvent* event) {
    return event->key() == Qt::Key_F4 && !event->isAutoRepeat() &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

// The main window, and the popups its controls open (the format list's open
// list is a window of its own): input to any of them reaches the program.
bool InMainWindow(const QObject* receiver) {
    QWidget* window = MainWindowWidget();
    if (window == nullptr || !receiver->isWidgetType()) return false;
    const QWidget* widget = static_cast<const QWidget*>(receiver);
    while (widget->window() != window) {
        const QWidget* popup = widget->window();
        if (popup->windowType() != Qt::Popup || popup->parentWidget() == nullptr) return false;
        widget = popup->parentWidget();
    }
    return true;
}

bool FilterEvent(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Close && receiver == MainWindowWidget()) {
        // The close button and Alt+F4 ask; the program decides and closes the window itself.
        event->ignore();
        PushEvent(Event{EventKind::CloseRequest, 0, {}});
        return true;
    }
    if (type == QEvent::Paint) return PaintCanvas(receiver);
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::DragLeave || type == QEvent::Drop)
        return FilterDragEvent(receiver, event);
    // A key pressed in the open dialog or a message box is that window's and
    // must not page the view once it closes; a release counts anywhere, so
    // that no key is left down.
    if ((type == QEvent::KeyPress && InMainWindow(receiver)) || type == QEvent::KeyRelease)
        NoteKeyEvent(static_cast<QKeyEvent*>(event));
    if (type == QEvent::KeyPress && IsAltF4(static_cast<QKeyEvent*>(event)) && InMainWindow(receiver)) {
        // Most window managers turn Alt+F4 into a close before it reaches the
        // program; where none does (or none runs), the program asks itself.
        NoteInput(receiver, event);
        PushEvent(Event{EventKind::CloseRequest, 0, {}});
        return true;
    }
    if (type == QEvent::ApplicationDeactivate) ReleaseHeldKeys();
    if (IsInputEvent(type)) NoteInput(receiver, event);
    return false;
}

// Qt asks for an object to filter events; this one only hands them on.
class InputFilter : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override { return FilterEvent(receiver, event); }
};
InputFilter* Filter = nullptr;
}  // namespace

void InstallInputFilter() {
    if (Filter != nullptr || QCoreApplication::instance() == nullptr) return;
    Filter = new InputFilter;
    QCoreApplication::instance()->installEventFilter(Filter);
}

void RemoveInputFilter() {
    if (Filter == nullptr) return;
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(Filter);
    delete Filter;
    Filter = nullptr;
}

void PushEvent(Event event) {
    if (event.Kind == EventKind::Other && Queue.size() >= OtherEventLimit) return;
    Queue.push_back(std::move(event));
}

void ClearEventQueue() {
    Queue.clear();
    LastInput = CountedInput{};
}

void NoteInput(QObject* receiver, QEvent* event) {
    if (!InMainWindow(receiver)) return;
    auto* widget = static_cast<QWidget*>(receiver);
    const quint64 timestamp = static_cast<QInputEvent*>(event)->timestamp();
    // A child that ignores an input event passes it on to its parent (as a copy
    // for mouse events): the same kind and time at an ancestor is the same message.
    if (event->type() == LastInput.Type && timestamp == LastInput.Timestamp && LastInput.Receiver &&
        widget != LastInput.Receiver && widget->isAncestorOf(LastInput.Receiver))
        return;
    LastInput = CountedInput{event->type(), timestamp, widget};
    PushEvent(Event{EventKind::Other, 0, {}});
}

Event WaitForEvent() {
    while (Queue.empty()) {
        // Without a window no input can come: the only sensible answer is to end.
        if (QCoreApplication::instance() == nullptr || MainWindowWidget() == nullptr)
            return Event{EventKind::CloseRequest, 0, {}};
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    Event event = std::move(Queue.front());
    Queue.pop_front();
    return event;
}

bool EventPending() {
    if (Queue.empty() && QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
    return !Queue.empty();
}
