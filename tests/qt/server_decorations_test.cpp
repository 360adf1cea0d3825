#include "qt/server_decorations.h"

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include <QTemporaryDir>
#include <QTest>

#include <wayland-server.h>

namespace {

// Stand-ins for the globals a compositor announces: only their names count.
constexpr wl_interface kCompositor = {"wl_compositor", 4, 0, nullptr, 0, nullptr};
constexpr wl_interface kShell = {"xdg_wm_base", 4, 0, nullptr, 0, nullptr};
constexpr wl_interface kDecorationManager = {
    "zxdg_decoration_manager_v1", 1, 0, nullptr, 0, nullptr};

void bindNothing(wl_client* /*client*/, void* /*data*/, std::uint32_t /*version*/,
                 std::uint32_t /*id*/) {}

// A compositor of the test's own on a private socket, announcing the given
// globals, answering from a thread of its own.
class Compositor {
public:
    explicit Compositor(const std::vector<const wl_interface*>& globals)
        : m_display(wl_display_create()) {
        for (const wl_interface* g : globals) {
            wl_global_create(m_display, g, g->version, nullptr, bindNothing);
        }
        m_socket = wl_display_add_socket_auto(m_display);
        // Not wl_display_run: a wl_display_terminate before it starts is lost.
        m_thread = std::thread([this] {
            while (!m_stop) {
                wl_display_flush_clients(m_display);
                wl_event_loop_dispatch(wl_display_get_event_loop(m_display), 10);
            }
        });
    }
    ~Compositor() {
        m_stop = true;
        m_thread.join();
        wl_display_destroy(m_display);
    }
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    const char* socket() const { return m_socket; }

private:
    wl_display* m_display;
    const char* m_socket = nullptr;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

}  // namespace

Q_DECLARE_METATYPE(qt::ServerDecorations)

class ServerDecorationsTest : public QObject {
    Q_OBJECT

private slots:
    void answer_data() {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("decorationManager");
        QTest::addColumn<qt::ServerDecorations>("expected");
        QTest::newRow("weston_gnome_no_xdg_decoration")
            << true << false << qt::ServerDecorations::Absent;
        QTest::newRow("kde_sway_xdg_decoration") << true << true << qt::ServerDecorations::Offered;
        // Nobody to ask: no guess that would add a second title bar.
        QTest::newRow("no_compositor") << false << false << qt::ServerDecorations::Unknown;
    }

    void answer() {
        QFETCH(bool, running);
        QFETCH(bool, decorationManager);
        QFETCH(qt::ServerDecorations, expected);
        const QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        std::vector<const wl_interface*> globals = {&kCompositor, &kShell};
        if (decorationManager) globals.push_back(&kDecorationManager);
        std::optional<Compositor> compositor;
        if (running) {
            compositor.emplace(globals);
            QVERIFY(compositor->socket() != nullptr);
        }
        qputenv("WAYLAND_DISPLAY", running ? compositor->socket() : "wayland-none");
        QCOMPARE(qt::waylandServerDecorations(), expected);
    }
};

QTEST_GUILESS_MAIN(ServerDecorationsTest)
#include "server_decorations_test.moc"
