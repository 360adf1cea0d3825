#include "qt/server_decorations.h"

#ifdef MANACALC_HAVE_WAYLAND_CLIENT
#include <cstdint>
#include <cstring>

#include <dlfcn.h>
// Types and opcodes only: the library is opened when the check runs, so
// that a start on X11, where it never does, loads neither it nor libffi.
#include <wayland-client.h>
#endif

namespace qt {

#ifdef MANACALC_HAVE_WAYLAND_CLIENT

namespace {

// What the check calls of libwayland-client. Its header's inline helpers
// (wl_display_get_registry, wl_registry_add_listener) are these calls.
class WaylandClient {
public:
    WaylandClient() {
        if (m_library == nullptr) return;
        load(connect, "wl_display_connect");
        load(roundtrip, "wl_display_roundtrip");
        load(disconnect, "wl_display_disconnect");
        load(marshal, "wl_proxy_marshal_flags");
        load(version, "wl_proxy_get_version");
        load(addListener, "wl_proxy_add_listener");
        load(destroy, "wl_proxy_destroy");
        registryInterface =
            static_cast<const wl_interface*>(dlsym(m_library, "wl_registry_interface"));
    }
    ~WaylandClient() {
        if (m_library != nullptr) dlclose(m_library);
    }
    WaylandClient(const WaylandClient&) = delete;
    WaylandClient& operator=(const WaylandClient&) = delete;

    bool complete() const {
        return connect && roundtrip && disconnect && marshal && version && addListener && destroy &&
               registryInterface;
    }

    decltype(&wl_display_connect) connect = nullptr;
    decltype(&wl_display_roundtrip) roundtrip = nullptr;
    decltype(&wl_display_disconnect) disconnect = nullptr;
    decltype(&wl_proxy_marshal_flags) marshal = nullptr;
    decltype(&wl_proxy_get_version) version = nullptr;
    decltype(&wl_proxy_add_listener) addListener = nullptr;
    decltype(&wl_proxy_destroy) destroy = nullptr;
    const wl_interface* registryInterface = nullptr;

private:
    template <typename Function>
    void load(Function*& function, const char* name) {
        function = reinterpret_cast<Function*>(dlsym(m_library, name));
    }

    void* m_library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
};

void global(void* data, wl_registry* /*registry*/, std::uint32_t /*name*/, const char* interface,
            std::uint32_t /*version*/) {
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0) {
        *static_cast<bool*>(data) = true;
    }
}

void globalRemove(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

constexpr wl_registry_listener kListener = {global, globalRemove};

}  // namespace

ServerDecorations waylandServerDecorations() {
    const WaylandClient wl;
    if (!wl.complete()) return ServerDecorations::Unknown;
    wl_display* display = wl.connect(nullptr);
    if (display == nullptr) return ServerDecorations::Unknown;
    bool offered = false;
    auto* proxy = reinterpret_cast<wl_proxy*>(display);
    wl_proxy* registry = wl.marshal(proxy, WL_DISPLAY_GET_REGISTRY, wl.registryInterface,
                                    wl.version(proxy), 0, nullptr);
    wl.addListener(registry,
                   reinterpret_cast<void (**)()>(const_cast<wl_registry_listener*>(&kListener)),
                   &offered);
    // One round trip: the compositor announces every global before it
    // answers the sync.
    const bool answered = wl.roundtrip(display) >= 0;
    wl.destroy(registry);
    wl.disconnect(display);
    if (!answered) return ServerDecorations::Unknown;
    return offered ? ServerDecorations::Offered : ServerDecorations::Absent;
}

#else

ServerDecorations waylandServerDecorations() {
    return ServerDecorations::Unknown;
}

#endif

}  // namespace qt
