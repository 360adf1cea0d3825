#pragma once

namespace qt {

// Whether the Wayland compositor named by WAYLAND_DISPLAY draws title bars
// for its clients' windows.
enum class ServerDecorations {
    Offered,  // it offers xdg-decoration: KDE, sway and most others
    Absent,   // it does not: weston, GNOME
    Unknown,  // built without libwayland-client, or the compositor did not answer
};

// Asks over a short connection of its own: the registry's globals say it,
// and Qt 6.4 keeps what its own connection learnt to itself.
ServerDecorations waylandServerDecorations();

}  // namespace qt
