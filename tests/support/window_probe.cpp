#include "support/window_probe.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QUrl>

#include "screen/control_numbers.h"

QScrollBar* ScrollBarWidget(int number) { return qobject_cast<QScrollBar*>(ControlWidget(number)); }

QWidget* CanvasWidget() { return ControlWidget(ViewCanvas); }

QRect ScrollBarPartRect(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

QRect ThumbRect(QScrollBar* bar) { return ScrollBarPartRect(bar, QStyle::SC_ScrollBarSlider); }

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
