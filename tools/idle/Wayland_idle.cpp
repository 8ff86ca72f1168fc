#include "tools/idle/Wayland_idle.h"

#include <wayland-client.h>

#include <cerrno>
#include <cstring>

#include "ext-idle-notify-v1-client.h"
#include "kde-idle-client.h"

namespace {

void on_global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    static_cast<Wayland_idle*>(data)->found_global(registry, name, interface, version);
}

void on_global_remove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registry_listener = {on_global, on_global_remove};

void on_idled(void* data, ext_idle_notification_v1*) { static_cast<const Wayland_idle*>(data)->notify(true); }
void on_resumed(void* data, ext_idle_notification_v1*) { static_cast<const Wayland_idle*>(data)->notify(false); }
const ext_idle_notification_v1_listener notification_listener = {on_idled, on_resumed};

void on_kde_idle(void* data, org_kde_kwin_idle_timeout*) { static_cast<const Wayland_idle*>(data)->notify(true); }
void on_kde_resumed(void* data, org_kde_kwin_idle_timeout*) { static_cast<const Wayland_idle*>(data)->notify(false); }
const org_kde_kwin_idle_timeout_listener kde_timeout_listener = {on_kde_idle, on_kde_resumed};

}  // namespace

Wayland_idle::~Wayland_idle()
{
    if (notification) ext_idle_notification_v1_destroy(notification);
    if (kde_timeout) org_kde_kwin_idle_timeout_release(kde_timeout);
    if (notifier) ext_idle_notifier_v1_destroy(notifier);
    if (kde_idle) org_kde_kwin_idle_destroy(kde_idle);
    if (seat) wl_seat_destroy(seat);
    if (registry) wl_registry_destroy(registry);
    if (display) wl_display_disconnect(display);
}

bool Wayland_idle::connect()
{
    display = wl_display_connect(nullptr);
    if (!display) return false;
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, this);
    return wl_display_roundtrip(display) >= 0;
}

void Wayland_idle::found_global(wl_registry* from, uint32_t name, const char* interface, uint32_t)
{
    // The first seat: a desktop session has one.
    if (!seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        seat = static_cast<wl_seat*>(wl_registry_bind(from, name, &wl_seat_interface, 1));
    else if (!notifier && std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
        notifier = static_cast<ext_idle_notifier_v1*>(wl_registry_bind(from, name, &ext_idle_notifier_v1_interface, 1));
    else if (!kde_idle && std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
        kde_idle = static_cast<org_kde_kwin_idle*>(wl_registry_bind(from, name, &org_kde_kwin_idle_interface, 1));
}

Idle_source::Offered Wayland_idle::offered() const
{
    Idle_source::Offered o;
    o.ext_idle_notify = notifier != nullptr;
    o.kde_idle = kde_idle != nullptr;
    o.seat = seat != nullptr;
    return o;
}

bool Wayland_idle::watch(Idle_source::Kind kind, uint32_t timeout_ms, const Listener& heard)
{
    listener = heard;
    if (kind == Idle_source::Kind::ext_idle_notify && notifier && seat) {
        notification = ext_idle_notifier_v1_get_idle_notification(notifier, timeout_ms, seat);
        ext_idle_notification_v1_add_listener(notification, &notification_listener, this);
    } else if (kind == Idle_source::Kind::kde_idle && kde_idle && seat) {
        kde_timeout = org_kde_kwin_idle_get_idle_timeout(kde_idle, seat, timeout_ms);
        org_kde_kwin_idle_timeout_add_listener(kde_timeout, &kde_timeout_listener, this);
    }
    return (notification || kde_timeout) && wl_display_flush(display) >= 0;
}

int Wayland_idle::fd() const { return display ? wl_display_get_fd(display) : -1; }

bool Wayland_idle::dispatch()
{
    if (!display || wl_display_dispatch(display) < 0) return false;
    return wl_display_flush(display) >= 0 || errno == EAGAIN;
}

void Wayland_idle::notify(bool idle) const
{
    void (*call)(void*) = idle ? listener.idle : listener.active;
    if (call) call(listener.data);
}
