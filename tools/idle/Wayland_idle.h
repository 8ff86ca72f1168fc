// The session's Wayland connection: whether there is one at all (it ends
// with the session), which idle protocols the compositor offers, and the
// compositor's word, through one of them, when the seat has been idle for
// a while and when the user is back.
//
//   Wayland_idle wayland;
//   if (!wayland.connect()) ... no Wayland session
//   wayland.watch(kind, 300000, listener);   ... then dispatch() when fd() is readable
#pragma once
#include <cstdint>

#include "tools/idle/Idle_source.h"

struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

class Wayland_idle {
public:
    struct Listener {
        void (*idle)(void* data) = nullptr;
        void (*active)(void* data) = nullptr;
        void* data = nullptr;
    };

    Wayland_idle() = default;
    ~Wayland_idle();
    Wayland_idle(const Wayland_idle&) = delete;
    Wayland_idle& operator=(const Wayland_idle&) = delete;

    // False when there is no Wayland display to reach.
    bool connect();
    Idle_source::Offered offered() const;
    // Asks the compositor for `kind`'s notices after `timeout_ms` without
    // input; false when it does not offer that protocol.
    bool watch(Idle_source::Kind kind, uint32_t timeout_ms, const Listener& listener);
    int fd() const;
    // Reads and handles what the compositor sent; false once the
    // connection is gone (the session ended).
    bool dispatch();

    // For the registry's and the protocols' listeners.
    void found_global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void notify(bool idle) const;

private:
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kde_idle = nullptr;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kde_timeout = nullptr;
    Listener listener;
};
