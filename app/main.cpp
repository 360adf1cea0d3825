// manacalc: the calculator window.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QApplication>

#include "messages/messages.h"
#include "qt/form1.h"
#include "qt/server_decorations.h"
#include "qt/titled_window.h"
#include "qt/window_icon.h"

namespace {

// Left as they read, each line as it prints, and marked for translation: the
// help and the messages below follow the locale, as manacalc-cli's do. A
// translator's note goes inside the marker, as xgettext keeps only a comment
// that starts after the last code.
// clang-format off
constexpr const char* kHelp = N_(
    // TRANSLATORS: INT, Medi, Focus, FPoint and 回復値 stay as they are: the
    // window shows them so.
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
    "it on.\n");
// clang-format on

// Qt ends the program with abort() and a page of advice when no platform can
// open the window: no display, one that does not answer, or a Wayland session
// without Qt's Wayland plugin. Whether a platform starts only Qt can tell (and
// offscreen, vnc or the Windows one need no display server at all), so the
// check is Qt's own start: while the application object connects, Qt's
// messages are held back, and its fatal one becomes one line and exit status
// 1. Once a platform is up, the held messages go out as Qt would have printed
// them.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

std::mutex heldMutex;  // Qt may report from a thread of its own
std::vector<HeldMessage> held;
QtMessageHandler qtHandler = nullptr;
const char* platformArgument = nullptr;  // -platform NAME, which overrides QT_QPA_PLATFORM

void printHeld(const QString& fatal) {
    std::vector<HeldMessage> messages;
    {
        const std::lock_guard<std::mutex> lock(heldMutex);
        messages.swap(held);
    }
    if (!fatal.isEmpty()) messages.push_back({QtCriticalMsg, QByteArray(), fatal});
    for (const HeldMessage& m : messages) {
        const QMessageLogContext context(nullptr, 0, nullptr,
                                         m.category.isEmpty() ? nullptr : m.category.constData());
        qtHandler(m.type, context, m.text);
    }
}

// Names what decides the platform, since that is what the player can change.
[[noreturn]] void noPlatform() {
    QByteArray where;
    if (platformArgument != nullptr) {
        where = QByteArray("-platform ") + platformArgument;
    }
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"}) {
        const QByteArray value = qgetenv(name);
        if (value.isEmpty() && std::strcmp(name, "QT_QPA_PLATFORM") == 0) continue;
        if (!where.isEmpty()) where += ", ";
        where += name;
        if (value.isEmpty()) {
            where += " unset";
        } else {
            where += '=';
            where += value;
        }
    }
    if (platformArgument == nullptr && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr,
                     _("manacalc: no display to open the window on (%s); start it from a desktop "
                       "session\n"),
                     where.constData());
    } else {
        std::fprintf(stderr,
                     // TRANSLATORS: qt6-wayland is the name of a package to install.
                     _("manacalc: cannot open the window (%s): is the display server running, and "
                       "for Wayland is Qt's Wayland plugin (qt6-wayland) installed?\n"),
                     where.constData());
    }
    std::fflush(stderr);
    // Qt is half way through its start; nothing of it is worth tearing down.
    std::_Exit(1);
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // Asked for Qt's account of its plugins, the player gets it in full.
        if (qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS")) printHeld(text);
        noPlatform();
    }
    const std::lock_guard<std::mutex> lock(heldMutex);
    held.push_back({type, QByteArray(context.category), text});
}

void holdPlatformMessages(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            platformArgument = argv[i + 1];
        }
    }
    qtHandler = qInstallMessageHandler(holdMessage);
}

void releasePlatformMessages() {
    qInstallMessageHandler(qtHandler);
    printHeld(QString());
}

// Qt 6.4 draws a title bar of its own on Wayland only after setting up OpenGL
// for the display: to decide whether it may decorate a window, the Wayland
// plugin creates its wayland-egl client buffer integration, whose set-up
// calls eglInitialize, and Mesa answers that by loading its driver with
// libLLVM: some 55 MiB for a window that Qt paints with the CPU into shared
// memory. Without a working EGL display Qt draws no title bar at all, so no
// lighter setting keeps one (choosing no client buffer integration drops it
// too, with a warning). At this width that title bar is of little use
// besides: its icon covers the title, and it offers to maximise a window of
// fixed size. So the window goes without it unless the player has said
// otherwise: QT_WAYLAND_DISABLE_WINDOWDECORATION=0 brings it back. Only the
// Wayland plugin reads the variable, and this program starts no other, so
// nothing else is touched. A compositor that draws title bars itself is still
// offered the window through xdg-decoration, which does not depend on it.
// Returns whether the choice was ours.
bool leaveTitleBarToCompositor() {
    if (qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION")) return false;
    qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    return true;
}

// A compositor without xdg-decoration (weston, GNOME) draws no title bar, and
// without one the player could neither drag the window nor read its title:
// the window then brings a title strip of its own, painted with the rest.
// Not when the player chose about Qt's title bar: 0 asked for Qt's, 1 for
// none at all.
bool needsOwnTitleStrip(bool titleBarChoiceOurs) {
    return titleBarChoiceOurs &&
           QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
           qt::waylandServerDecorations() == qt::ServerDecorations::Absent;
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue first: the no-display message is the player's to read too.
    messages::init();
    // Answered before anything looks for a display: a user asking in a terminal gets
    // an answer, not a window or a complaint about the display.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        return std::fputs(_(kHelp), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const std::string version = messages::versionText("manacalc");
        return std::fputs(version.c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    }
    const bool titleBarChoiceOurs = leaveTitleBarToCompositor();
    holdPlatformMessages(argc, argv);
    QApplication app(argc, argv);
    releasePlatformMessages();
    // The window's class on X11 comes from the application name, its app id on
    // Wayland from the desktop file name: both name the desktop entry, so that a
    // dock shows the window under the entry's name and icon.
    QApplication::setApplicationName(QStringLiteral(MANACALC_APP_ID));
    QApplication::setDesktopFileName(QStringLiteral(MANACALC_APP_ID));

    QApplication::setWindowIcon(qt::windowIcon());

    std::unique_ptr<QWidget> window;
    if (needsOwnTitleStrip(titleBarChoiceOurs)) {
        auto titled = std::make_unique<qt::TitledWindow>();
        titled->setContent(new qt::Form1(titled.get()));
        window = std::move(titled);
    } else {
        window = std::make_unique<qt::Form1>();
    }
    window->show();
    return QApplication::exec();
}
