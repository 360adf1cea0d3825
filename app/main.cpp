// manacalc: the calculator window.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QIcon>

#include "ui/form1.h"

namespace {

// Qt aborts with a long message when it finds no display; a player deserves
// one line that says what is missing.
bool displayReachable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool needsServer = platform == nullptr || *platform == '\0' ||
                             std::strncmp(platform, "xcb", 3) == 0 ||
                             std::strncmp(platform, "wayland", 7) == 0;
    if (!needsServer) return true;
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    if (!displayReachable()) {
        std::fprintf(stderr,
                     "manacalc: no display to open the window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set); start it from a desktop session\n");
        return 1;
    }
    QApplication app(argc, argv);
    // The window's class on X11 comes from the application name, its app id on
    // Wayland from the desktop file name: both name the desktop entry, so that a
    // dock shows the window under the entry's name and icon.
    QApplication::setApplicationName(QStringLiteral(MANACALC_APP_ID));
    QApplication::setDesktopFileName(QStringLiteral(MANACALC_APP_ID));

    // The 16-pixel picture, and its double for HiDPI screens. Every size added
    // here is decoded at start for the window manager, so no more than these.
    QIcon icon;
    for (int size : {16, 32}) {
        icon.addFile(QStringLiteral(":/icons/manacalc-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);

    ui::Form1 window;
    window.show();
    return QApplication::exec();
}
