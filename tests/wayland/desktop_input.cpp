// Types a key or moves the pointer through the compositor, as a user's
// devices would, for the by-hand run on KDE Plasma and GNOME
// (run_kde_gnome.sh): their headless sessions have no devices and take no
// wlroots virtual ones. KWin's fake input where it is offered, else a
// remote desktop session of Mutter's (D-Bus).
//   desktop_input key CODE     press and release a Linux key code (1 Escape, 30 a)
//   desktop_input move DX DY   move the pointer
#include <gio/gio.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fake-input-client.h"

namespace {

org_kde_kwin_fake_input* fake = nullptr;

void on_global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake = static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}

void on_global_remove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener listener = {on_global, on_global_remove};

GVariant* call(GDBusConnection* bus, const char* path, const char* interface, const char* method, GVariant* args)
{
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                                                  nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
    if (!reply) {
        std::fprintf(stderr, "desktop_input: %s: %s\n", method, error->message);
        g_error_free(error);
    }
    return reply;
}

// One remote desktop session of Mutter's for the one action; it ends with us.
int by_mutter(bool key, int a, int b)
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return 1;
    GVariant* created = call(bus, "/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
                             "CreateSession", nullptr);
    if (!created) return 1;
    const gchar* session = nullptr;
    g_variant_get(created, "(&o)", &session);
    const char* in = "org.gnome.Mutter.RemoteDesktop.Session";
    bool ok = call(bus, session, in, "Start", nullptr) != nullptr;
    if (ok && key) {
        ok = call(bus, session, in, "NotifyKeyboardKeycode", g_variant_new("(ub)", guint32(a), TRUE)) &&
             call(bus, session, in, "NotifyKeyboardKeycode", g_variant_new("(ub)", guint32(a), FALSE));
    } else if (ok) {
        ok = call(bus, session, in, "NotifyPointerMotionRelative", g_variant_new("(dd)", double(a), double(b)));
    }
    call(bus, session, in, "Stop", nullptr);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool key = argc == 3 && std::strcmp(argv[1], "key") == 0;
    const bool move = argc == 4 && std::strcmp(argv[1], "move") == 0;
    if (!key && !move) {
        std::fputs("usage: desktop_input key CODE | move DX DY\n", stderr);
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return 1;
    wl_registry_add_listener(wl_display_get_registry(display), &listener, nullptr);
    wl_display_roundtrip(display);
    if (!fake) return by_mutter(key, std::atoi(argv[2]), move ? std::atoi(argv[3]) : 0);
    org_kde_kwin_fake_input_authenticate(fake, "gardenlume tests", "types for the by-hand run");
    if (key) {
        const uint32_t code = uint32_t(std::atoi(argv[2]));
        org_kde_kwin_fake_input_keyboard_key(fake, code, 1);
        org_kde_kwin_fake_input_keyboard_key(fake, code, 0);
    } else {
        org_kde_kwin_fake_input_pointer_motion(fake, wl_fixed_from_int(std::atoi(argv[2])), wl_fixed_from_int(std::atoi(argv[3])));
    }
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
