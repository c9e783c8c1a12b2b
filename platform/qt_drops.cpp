// Files dropped from the desktop: taken by drop targets only, copy action only.
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <string>

#include "platform/qt_internal.h"

namespace {
// Local file paths as the file system's bytes, joined by line feeds.
std::string DroppedNames(const QMimeData* data) {
    std::string names;
    if (data == nullptr || !data->hasUrls()) return names;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty()) continue;
        if (!names.empty()) names += '\n';
        names += QFile::encodeName(path).toStdString();
    }
    return names;
}

bool Acceptable(const QDropEvent* event) {
    return (event->possibleActions() & Qt::CopyAction) && !DroppedNames(event->mimeData()).empty();
}
}  // namespace

bool FilterDragEvent(QObject* receiver, QEvent* event) {
    if (!receiver->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(receiver);
    QWidget* window = MainWindowWidget();
    if (window == nullptr || widget->window() != window) return false;
    const Control* target = FindControlByWidget(widget);
    if (target == nullptr || !target->AcceptsDrops) {
        event->ignore();  // the window background and the other controls refuse
        return true;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (Acceptable(drag)) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!Acceptable(drop)) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        PushEvent(Event{EventKind::Drop, target->Number, DroppedNames(drop->mimeData())});
        return true;
    }
    default:
        return true;
    }
}
