// The main window: frame, placement, title, icon and the menu bar.
#include <QAction>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "platform/qt_internal.h"
#include "platform/window.h"

namespace {
QPointer<QWidget> MainWindow;
QPointer<QWidget> Area;
QPointer<QMenuBar> MenuBar;
QPointer<QMenu> LastMenu;

// Menu texts are shown as given: no mnemonics.
QString PlainMenuText(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Centres the frame, measured without the menu bar, on the primary screen; a
// frame larger than the screen goes to the screen's edge.
void CentreOnPrimaryScreen(QWidget* window, int clientWidth, int clientHeight) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    QMargins frame;
    if (window->windowHandle() != nullptr) frame = window->windowHandle()->frameMargins();
    const int outerWidth = clientWidth + frame.left() + frame.right();
    const int outerHeight = clientHeight + frame.top() + frame.bottom();
    const int x = (area.width() - std::min(area.width(), outerWidth)) / 2;
    const int y = (area.height() - std::min(area.height(), outerHeight)) / 2;
    // For a top-level widget move() places the frame, not the client area.
    window->move(area.x() + x, area.y() + y);
}
}  // namespace

QWidget* MainWindowWidget() { return MainWindow.data(); }
QWidget* ControlArea() { return Area.data(); }

bool CreateMainWindow(const std::string& title, int clientWidth, int clientHeight) {
    if (QCoreApplication::instance() == nullptr || clientWidth <= 0 || clientHeight <= 0) return false;
    if (MainWindow) CloseMainWindow();
    auto* window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                            Qt::WindowCloseButtonHint);
    window->setWindowTitle(QString::fromStdString(title));
    // A fixed size removes the sizing border and the maximise button.
    window->setFixedSize(clientWidth, clientHeight);
    window->setAttribute(Qt::WA_AlwaysShowToolTips);
    window->setMouseTracking(true);
    window->setBackgroundRole(QPalette::Button);
    window->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* area = new QWidget(window);
    area->setMouseTracking(true);
    // The small controls are 30 pixels wide: a compact font and indicator keep
    // captions such as "x1" whole.
    QFont font = area->font();
    font.setPixelSize(11);
    area->setFont(font);
    area->setStyleSheet("QCheckBox, QRadioButton { spacing: 2px; }"
                        "QComboBox { padding: 0px 0px 0px 3px; }");
    layout->addWidget(area);
    MainWindow = window;
    Area = area;
    window->winId();  // the native window, so that its frame can be measured
    CentreOnPrimaryScreen(window, clientWidth, clientHeight);
    window->show();
    window->activateWindow();
    return true;
}

bool MainWindowExists() { return !MainWindow.isNull(); }

void CloseMainWindow() {
    ForgetControls();
    ReleaseCanvasPicture();
    delete MainWindow.data();
    MainWindow = nullptr;
    Area = nullptr;
    MenuBar = nullptr;
    LastMenu = nullptr;
    ClearEventQueue();
    ClearKeyState();
    if (QCoreApplication::instance() != nullptr) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SetWindowTitle(const std::string& title) {
    if (MainWindow) MainWindow->setWindowTitle(QString::fromStdString(title));
}

std::string WindowTitle() { return MainWindow ? MainWindow->windowTitle().toStdString() : std::string(); }

void SetWindowIcon(const std::string& image32, const std::string& image16) {
    if (!MainWindow) return;
    QIcon icon;
    icon.addFile(QString::fromStdString(image32), QSize(32, 32));
    icon.addFile(QString::fromStdString(image16), QSize(16, 16));
    MainWindow->setWindowIcon(icon);
}

bool CreateMenuBar() {
    if (!MainWindow) return false;
    if (MenuBar) return true;
    auto* bar = new QMenuBar(MainWindow);
    // Inside the window on every desktop, so that it takes its height from the client area.
    bar->setNativeMenuBar(false);
    MainWindow->layout()->setMenuBar(bar);
    MainWindow->layout()->activate();
    bar->show();
    MenuBar = bar;
    return true;
}

void AddMenu(const std::string& title) {
    if (!MenuBar) return;
    LastMenu = MenuBar->addMenu(PlainMenuText(title));
    MainWindow->layout()->activate();
}

void AddMenuItem(int number, const std::string& text) {
    if (!MenuBar || !LastMenu) return;
    QAction* action = LastMenu->addAction(PlainMenuText(text));
    QObject::connect(action, &QAction::triggered, action, [number] { PushEvent(Event{EventKind::Menu, number, {}}); });
}
