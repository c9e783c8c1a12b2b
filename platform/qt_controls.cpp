// The controls by number: creation, tool tips, callbacks, states.
#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/qt_internal.h"
#include "platform/window.h"

namespace {
std::vector<Control> Controls;
// Option groups follow creation order: an option after an option joins its group.
ControlKind LastCreatedKind = ControlKind::Canvas;
int LastGroup = 0;

void SetScrollRange(Control& control);

bool IsButton(const Control& control) {
    return control.Kind == ControlKind::CheckBox || control.Kind == ControlKind::Option;
}

// Checks one option and unchecks the others of its group, raising nothing.
void CheckOptionAlone(const Control& option) {
    for (const Control& other : Controls) {
        if (other.Kind != ControlKind::Option || other.Group != option.Group) continue;
        auto* button = static_cast<QAbstractButton*>(other.Widget);
        const QSignalBlocker block(button);
        button->setChecked(other.Number == option.Number);
    }
}

// Windows-style range: page within 0 .. max - min + 1, reachable positions
// min .. max - max(page - 1, 0). Qt's range is the reachable part only.
void SetScrollRange(Control& control) {
    const int64_t span = std::max<int64_t>(int64_t{control.Maximum} - control.Minimum + 1, 0);
    control.PageLength = static_cast<int32_t>(std::clamp<int64_t>(control.PageLength, 0, std::min<int64_t>(span, INT32_MAX)));
    const int64_t last = int64_t{control.Maximum} - std::max<int32_t>(control.PageLength - 1, 0);
    auto* bar = static_cast<QScrollBar*>(control.Widget);
    const QSignalBlocker block(bar);
    bar->setRange(control.Minimum, static_cast<int>(std::max<int64_t>(last, control.Minimum)));
    bar->setPageStep(control.PageLength);
    bar->setSingleStep(1);
}
}  // namespace

Control* FindControl(int number) {
    for (Control& control : Controls)
        if (control.Number == number) return &control;
    return nullptr;
}

Control* FindControlByWidget(const QObject* widget) {
    for (Control& control : Controls)
        if (control.Widget == widget) return &control;
    return nullptr;
}

QWidget* ControlWidget(int number) {
    const Control* control = FindControl(number);
    return control != nullptr ? control->Widget : nullptr;
}

Control& AddControl(int number, ControlKind kind, QWidget* widget, int x, int y, int width, int height) {
    if (Control* old = FindControl(number)) {
        if (old->Kind == ControlKind::Canvas) ReleaseCanvasPicture();
        delete old->Widget;
        Controls.erase(Controls.begin() + (old - Controls.data()));
    }
    if (kind == ControlKind::Option && LastCreatedKind != ControlKind::Option) ++LastGroup;
    LastCreatedKind = kind;
    widget->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    widget->setMouseTracking(true);
    widget->show();
    Control control;
    control.Number = number;
    control.Kind = kind;
    control.Widget = widget;
    control.Group = kind == ControlKind::Option ? LastGroup : 0;
    Controls.push_back(control);
    return Controls.back();
}

void ForgetControls() {
    Controls.clear();
    LastCreatedKind = ControlKind::Canvas;
}

void RaiseControlEvent(int number) {
    PushEvent(Event{EventKind::Control, number, {}});
    const Control* control = FindControl(number);
    // Copied first: the callback may change the control table.
    void (*callback)() = control != nullptr ? control->Callback : nullptr;
    if (callback != nullptr) callback();
}

void CreateScrollBar(int number, bool vertical, int x, int y, int width, int height, int32_t minimum,
                     int32_t maximum, int32_t pageLength) {
    if (ControlArea() == nullptr) return;
    auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, ControlArea());
    bar->setFocusPolicy(Qt::NoFocus);
    static QStyle* plain = QStyleFactory::create("Windows");
    if (plain) bar->setStyle(plain);
    Control& control = AddControl(number, ControlKind::ScrollBar, bar, x, y, width, height);
    control.Minimum = minimum;
    control.Maximum = maximum;
    control.PageLength = pageLength;
    SetScrollRange(control);
    // actionTriggered comes before Qt stores the new value: store it first, so
    // that the callback reads the position the action produced.
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar, number](int) {
        bar->setValue(bar->sliderPosition());
        RaiseControlEvent(number);
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [number] { RaiseControlEvent(number); });
}

void CreateCheckBox(int number, int x, int y, int width, int height, const std::string& caption) {
    if (ControlArea() == nullptr) return;
    auto* box = new QCheckBox(QString::fromStdString(caption), ControlArea());
    AddControl(number, ControlKind::CheckBox, box, x, y, width, height);
    QObject::connect(box, &QAbstractButton::clicked, box, [number] { RaiseControlEvent(number); });
}

void CreateOptionButton(int number, int x, int y, int width, int height, const std::string& caption) {
    if (ControlArea() == nullptr) return;
    auto* button = new QRadioButton(QString::fromStdString(caption), ControlArea());
    // Groups follow creation order, not the parent widget, and the program may
    // uncheck an option: the group is kept here, not by Qt.
    button->setAutoExclusive(false);
    AddControl(number, ControlKind::Option, button, x, y, width, height);
    // A click toggles a non-exclusive button; an option stays checked instead.
    QObject::connect(button, &QAbstractButton::clicked, button, [number] {
        if (const Control* option = FindControl(number)) CheckOptionAlone(*option);
        RaiseControlEvent(number);
    });
}

void CreateDropDownList(int number, int x, int y, int width, int height) {
    if (ControlArea() == nullptr) return;
    auto* list = new QComboBox(ControlArea());
    list->setEditable(false);
    AddControl(number, ControlKind::List, list, x, y, width, height);
    // activated: only the user's selections, not the program's.
    QObject::connect(list, &QComboBox::activated, list, [number](int) { RaiseControlEvent(number); });
}

void AddListItem(int number, const std::string& text) {
    const Control* control = FindControl(number);
    if (control == nullptr || control->Kind != ControlKind::List) return;
    auto* list = static_cast<QComboBox*>(control->Widget);
    const QSignalBlocker block(list);
    // Adding the first item would select it; the list starts with none selected.
    const int selected = list->currentIndex();
    list->addItem(QString::fromStdString(text));
    list->setCurrentIndex(selected);
}

void SetToolTip(int number, const std::string& text) {
    if (QWidget* widget = ControlWidget(number)) widget->setToolTip(QString::fromStdString(text));
}

void AcceptFileDrops(int number) {
    Control* control = FindControl(number);
    if (control == nullptr) return;
    control->AcceptsDrops = true;
    control->Widget->setAcceptDrops(true);
}

void BindCallback(int number, void (*callback)()) {
    if (Control* control = FindControl(number)) control->Callback = callback;
}

int32_t ControlState(int number) {
    const Control* control = FindControl(number);
    if (control == nullptr) return 0;
    switch (control->Kind) {
    case ControlKind::CheckBox:
    case ControlKind::Option:
        return static_cast<QAbstractButton*>(control->Widget)->isChecked() ? 1 : 0;
    case ControlKind::List:
        return static_cast<QComboBox*>(control->Widget)->currentIndex();
    case ControlKind::ScrollBar:
        return static_cast<QScrollBar*>(control->Widget)->value();
    case ControlKind::Canvas:
        break;
    }
    return 0;
}

void SetControlState(int number, int32_t state) {
    const Control* control = FindControl(number);
    if (control == nullptr) return;
    const QSignalBlocker block(control->Widget);
    if (control->Kind == ControlKind::Option && state != 0) {
        CheckOptionAlone(*control);
    } else if (IsButton(*control)) {
        static_cast<QAbstractButton*>(control->Widget)->setChecked(state != 0);
    } else if (control->Kind == ControlKind::List) {
        auto* list = static_cast<QComboBox*>(control->Widget);
        list->setCurrentIndex(state >= 0 && state < list->count() ? state : -1);
    } else if (control->Kind == ControlKind::ScrollBar) {
        static_cast<QScrollBar*>(control->Widget)->setValue(state);  // Qt clamps to the range
    }
}

void SetScrollBarMaximum(int number, int32_t maximum) {
    Control* control = FindControl(number);
    if (control == nullptr || control->Kind != ControlKind::ScrollBar) return;
    control->Maximum = maximum;
    SetScrollRange(*control);
}

void SetScrollBarPageLength(int number, int32_t pageLength) {
    Control* control = FindControl(number);
    if (control == nullptr || control->Kind != ControlKind::ScrollBar) return;
    control->PageLength = pageLength;
    SetScrollRange(*control);
}

int32_t ScrollBarMaximum(int number) {
    const Control* control = FindControl(number);
    return control != nullptr && control->Kind == ControlKind::ScrollBar ? control->Maximum : 0;
}

int32_t ScrollBarPageLength(int number) {
    const Control* control = FindControl(number);
    return control != nullptr && control->Kind == ControlKind::ScrollBar ? control->PageLength : 0;
}
