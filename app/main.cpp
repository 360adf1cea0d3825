// manacalc: the calculator window.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QIcon>

#include "ui/form1.h"

namespace {

constexpr const char* kHelp =
    "Usage: manacalc [OPTION]...\n"
    "Open the mana regeneration calculator window: type INT, Medi and Focus, and it\n"
    "shows the mana recovered every 10 seconds (回復値), the seconds per mana point,\n"
    "FPoint, and how much INT, Medi or Focus the next recovery point needs.\n"
    "\n"
    "      --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME, are passed on to Qt.\n"
    "The same numbers without a window: manacalc-cli --help.\n"
    "\n"
    "Exit status: 0 when the window is closed, 1 when there is no display to open\n"
    "it on.\n";

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
    // Answered before anything looks for a display: a user asking in a terminal gets
    // an answer, not a window or a complaint about the display.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        return std::fputs(kHelp, stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        return std::puts("manacalc " MANACALC_VERSION) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    }
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
