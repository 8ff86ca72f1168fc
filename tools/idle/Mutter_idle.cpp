#include "tools/idle/Mutter_idle.h"

#include <gio/gio.h>

#include <cstdlib>

namespace {

const char* const service = "org.gnome.Mutter.IdleMonitor";
const char* const path = "/org/gnome/Mutter/IdleMonitor/Core";
const int call_timeout_ms = 5000;

void on_watch_fired(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                    gpointer data)
{
    guint32 id = 0;
    if (g_variant_is_of_type(parameters, G_VARIANT_TYPE("(u)"))) g_variant_get(parameters, "(u)", &id);
    static_cast<Mutter_idle*>(data)->fired(id);
}

// Only a bus the session names: GLib would otherwise try to start one of its own.
bool session_bus_named()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (address && *address) return true;
    if (!runtime || !*runtime) return false;
    gchar* socket = g_build_filename(runtime, "bus", nullptr);
    const bool there = g_file_test(socket, G_FILE_TEST_EXISTS);
    g_free(socket);
    return there;
}

}  // namespace

Mutter_idle::~Mutter_idle()
{
    if (bus && subscription) g_dbus_connection_signal_unsubscribe(bus, subscription);
    if (bus) g_object_unref(bus);
}

bool Mutter_idle::present()
{
    if (!bus && session_bus_named()) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return false;
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", service),
                                                  G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, call_timeout_ms,
                                                  nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned;
}

uint32_t Mutter_idle::add_watch(const char* method, const char* arguments_type, uint32_t timeout_ms)
{
    GVariant* arguments = arguments_type ? g_variant_new(arguments_type, guint64(timeout_ms)) : nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, service, path, service, method, arguments, G_VARIANT_TYPE("(u)"),
                                                  G_DBUS_CALL_FLAGS_NONE, call_timeout_ms, nullptr, nullptr);
    guint32 id = 0;
    if (reply) {
        g_variant_get(reply, "(u)", &id);
        g_variant_unref(reply);
    }
    return id;
}

bool Mutter_idle::watch(uint32_t timeout_ms, const Wayland_idle::Listener& heard)
{
    if (!bus) return false;
    listener = heard;
    // The session ending closes the bus; that must not end the process from inside GLib.
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    subscription = g_dbus_connection_signal_subscribe(bus, service, service, "WatchFired", path, nullptr,
                                                      G_DBUS_SIGNAL_FLAGS_NONE, on_watch_fired, this, nullptr);
    idle_watch = add_watch("AddIdleWatch", "(t)", timeout_ms);
    return idle_watch != 0;
}

void Mutter_idle::fired(uint32_t id)
{
    if (id == 0) return;
    if (id == idle_watch) {
        // Fires once and is gone; the idle watch stays for the next time.
        active_watch = add_watch("AddUserActiveWatch", nullptr, 0);
        if (listener.idle) listener.idle(listener.data);
    } else if (id == active_watch) {
        active_watch = 0;
        if (listener.active) listener.active(listener.data);
    }
}
