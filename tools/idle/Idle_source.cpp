#include "tools/idle/Idle_source.h"

Idle_source::Kind Idle_source::choose(const Offered& offered)
{
    // The standard protocol first; KDE's older one says the same.
    if (offered.seat && offered.ext_idle_notify) return Kind::ext_idle_notify;
    if (offered.seat && offered.kde_idle) return Kind::kde_idle;
    if (offered.mutter_idle_monitor) return Kind::mutter_idle_monitor;
    return Kind::none;
}

const char* Idle_source::name(Kind kind)
{
    switch (kind) {
    case Kind::ext_idle_notify:
        return "ext-idle-notify-v1";
    case Kind::kde_idle:
        return "org_kde_kwin_idle";
    case Kind::mutter_idle_monitor:
        return "org.gnome.Mutter.IdleMonitor";
    case Kind::none:
        break;
    }
    return "none";
}
