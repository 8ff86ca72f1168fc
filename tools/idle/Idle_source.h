// Where gardenlume-idle hears that the desktop is idle, from what the
// session offers: the Wayland idle protocols (ext-idle-notify-v1, and
// org_kde_kwin_idle where only that exists: sway 1.7, KDE Plasma 5.27), or
// Mutter's idle monitor on the session's D-Bus (GNOME).
#pragma once

class Idle_source {
public:
    enum class Kind { ext_idle_notify, kde_idle, mutter_idle_monitor, none };

    struct Offered {
        bool ext_idle_notify = false;  // the compositor's globals
        bool kde_idle = false;
        bool seat = false;             // both protocols watch one seat
        bool mutter_idle_monitor = false;  // org.gnome.Mutter.IdleMonitor owned on the session bus
    };

    static Kind choose(const Offered& offered);
    // The source's name as the user may look it up.
    static const char* name(Kind kind);
};
