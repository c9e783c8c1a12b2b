// Starting and stopping Qt.
#include <QApplication>
#include <QEvent>

#include <cstdio>
#include <cstdlib>

#include "platform/qt_internal.h"
#include "platform/window.h"

namespace {
// QApplication keeps a reference to argc for its whole life.
int ArgumentCount = 0;
QApplication* Application = nullptr;

// Without any display Qt's default platform plugin aborts the process; refuse
// to start instead, so that the program can end normally.
bool DisplayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
#else
    return true;
#endif
}
}  // namespace

bool StartPlatform(int argc, char** argv) {
    if (QCoreApplication::instance() != nullptr) return true;
    if (!DisplayAvailable()) {
        std::fputs("quillon: no display available\n", stderr);
        return false;
    }
    ArgumentCount = argc;
    Application = new QApplication(ArgumentCount, argv);
    // The program runs its own loop and closes its window itself.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallInputFilter();
    return true;
}

void StopPlatform() {
    CloseMainWindow();
    if (Application == nullptr) return;
    RemoveInputFilter();
    // Objects handed to deleteLater would otherwise outlive the application.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete Application;
    Application = nullptr;
}
