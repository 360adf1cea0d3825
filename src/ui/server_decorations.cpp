#include "ui/server_decorations.h"

#ifdef MANACALC_HAVE_WAYLAND_CLIENT
#include <cstdint>
#include <cstring>

#include <wayland-client.h>
#endif

namespace ui {

#ifdef MANACALC_HAVE_WAYLAND_CLIENT

namespace {

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
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return ServerDecorations::Unknown;
    bool offered = false;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kListener, &offered);
    // One round trip: the compositor announces every global before it
    // answers the sync.
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered) return ServerDecorations::Unknown;
    return offered ? ServerDecorations::Offered : ServerDecorations::Absent;
}

#else

ServerDecorations waylandServerDecorations() {
    return ServerDecorations::Unknown;
}

#endif

}  // namespace ui
