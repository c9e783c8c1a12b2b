#pragma once
// Finds the real widgets of the main window, for tests that click, type and
// drop on them the way a user would.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStringList>
#include <QWidget>
#include <string>

#include "platform/qt_internal.h"

// MainWindowWidget() and ControlWidget(number) come from the Qt backend.
QScrollBar* ScrollBarWidget(int number);
QWidget* CanvasWidget();
// Where the scroll bar draws one of its parts (arrows, trough sides, thumb),
// and its thumb, in the bar's own coordinates.
QRect ScrollBarPartRect(QScrollBar* bar, QStyle::SubControl part);
QRect ThumbRect(QScrollBar* bar);

// Sends a drag-enter and a drop of these local paths to target; true when the
// drop was accepted.
bool DropFiles(QWidget* target, const QStringList& paths, Qt::DropActions actions = Qt::CopyAction);
// Triggers the "File" menu item with this text.
bool TriggerMenuItem(const QString& text);
// Sends a PageUp/PageDown press or release to the window, optionally marked as auto-repeat.
void SendKey(Qt::Key key, bool press, bool autoRepeat = false);
