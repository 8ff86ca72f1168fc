// Types keys and moves the pointer through the compositor, as a user's
// devices would, for the by-hand run on KDE Plasma and GNOME
// (run_kde_gnome.sh): their headless sessions have no devices and take no
// wlroots virtual ones. KWin's fake input where it is offered, else a
// remote desktop session of Mutter's (D-Bus). The device is made once and
// kept, as a real keyboard is there before any window: XWayland would take
// a key sent by a device newer than the focus as already down, or miss it.
//   desktop_input      then lines on standard input, until it ends:
//     key CODE         press and release a Linux key code (1 Escape, 30 a)
//     move DX DY       move the pointer
#include <gio/gio.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "fake-input-client.h"

namespace {

org_kde_kwin_fake_input* fake = nullptr;
wl_display* display = nullptr;
GDBusConnection* bus = nullptr;
const gchar* session = nullptr;
const char* const session_interface = "org.gnome.Mutter.RemoteDesktop.Session";

void on_global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake = static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}

void on_global_remove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener listener = {on_global, on_global_remove};

bool call(const char* path, const char* interface, const char* method, GVariant* args, GVariant** reply = nullptr)
{
    GError* error = nullptr;
    GVariant* r = g_dbus_connection_call_sync(bus, "org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                                              nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
    if (!r) {
        std::fprintf(stderr, "desktop_input: %s: %s\n", method, error->message);
        g_error_free(error);
        return false;
    }
    if (reply)
        *reply = r;
    else
        g_variant_unref(r);
    return true;
}

bool start()
{
    display = wl_display_connect(nullptr);
    if (!display) return false;
    wl_registry_add_listener(wl_display_get_registry(display), &listener, nullptr);
    wl_display_roundtrip(display);
    if (fake) {
        org_kde_kwin_fake_input_authenticate(fake, "gardenlume tests", "types for the by-hand run");
        return wl_display_roundtrip(display) >= 0;
    }
    bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    GVariant* created = nullptr;
    if (!bus || !call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop", "CreateSession", nullptr,
                      &created))
        return false;
    g_variant_get(created, "(&o)", &session);
    return call(session, session_interface, "Start", nullptr);
}

bool key(unsigned code)
{
    if (fake) {
        org_kde_kwin_fake_input_keyboard_key(fake, code, 1);
        org_kde_kwin_fake_input_keyboard_key(fake, code, 0);
        return wl_display_roundtrip(display) >= 0;
    }
    return call(session, session_interface, "NotifyKeyboardKeycode", g_variant_new("(ub)", code, TRUE)) &&
           call(session, session_interface, "NotifyKeyboardKeycode", g_variant_new("(ub)", code, FALSE));
}

bool move(int dx, int dy)
{
    if (fake) {
        org_kde_kwin_fake_input_pointer_motion(fake, wl_fixed_from_int(dx), wl_fixed_from_int(dy));
        return wl_display_roundtrip(display) >= 0;
    }
    return call(session, session_interface, "NotifyPointerMotionRelative", g_variant_new("(dd)", double(dx), double(dy)));
}

}  // namespace

int main()
{
    if (!start()) {
        std::fputs("desktop_input: neither KWin's fake input nor Mutter's remote desktop is there\n", stderr);
        return 1;
    }
    // Mutter makes each device at its first use: a move of nothing and a
    // Shift make them known before anything is judged.
    move(0, 0);
    key(42);
    char line[128];
    int failures = 0;
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned code = 0;
        int dx = 0, dy = 0;
        bool ok = false;
        if (std::sscanf(line, "key %u", &code) == 1)
            ok = key(code);
        else if (std::sscanf(line, "move %d %d", &dx, &dy) == 2)
            ok = move(dx, dy);
        if (!ok) ++failures;
    }
    if (session) call(session, session_interface, "Stop", nullptr);
    return failures ? 1 : 0;
}
