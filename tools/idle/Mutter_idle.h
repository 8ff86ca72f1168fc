// GNOME's idle time: Mutter's org.gnome.Mutter.IdleMonitor on the session
// bus. An idle watch fires each time the user has been idle that long; a
// user-active watch, set then, fires once when the user is back.
//
//   Mutter_idle mutter;
//   if (mutter.present()) mutter.watch(300000, listener);   ... in a GLib main loop
#pragma once
#include <cstdint>

#include "tools/idle/Wayland_idle.h"

typedef struct _GDBusConnection GDBusConnection;

class Mutter_idle {
public:
    Mutter_idle() = default;
    ~Mutter_idle();
    Mutter_idle(const Mutter_idle&) = delete;
    Mutter_idle& operator=(const Mutter_idle&) = delete;

    // Whether the session bus has Mutter's idle monitor. Never starts a bus.
    bool present();
    bool watch(uint32_t timeout_ms, const Wayland_idle::Listener& listener);

    // For the signal's handler.
    void fired(uint32_t id);

private:
    uint32_t add_watch(const char* method, const char* arguments_type, uint32_t timeout_ms);

    GDBusConnection* bus = nullptr;
    unsigned subscription = 0;
    uint32_t idle_watch = 0;
    uint32_t active_watch = 0;
    Wayland_idle::Listener listener;
};
