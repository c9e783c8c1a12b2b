// Leaks that belong to the system's font and GUI libraries, which keep caches
// until the process ends. Built into every test program, so a sanitizer run
// is clean however the program is started.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libQt6Core\n"
           "leak:libQt6Gui\n"
           "leak:libQt6Widgets\n"
           "leak:libglib\n"
           "leak:libdbus\n";
}
