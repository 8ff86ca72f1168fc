// gardenlume-idle: the garden as a Wayland desktop's screensaver. It asks the
// compositor to say when the user has been idle for --after seconds (never
// asking over and over), then shows the garden full screen on every output,
// ends it when the user is back, and shows it again after the next idle
// period. It ends with the session, ending any garden it shows, and never
// keeps the desktop from its own screen lock or display power-off.
// Exit codes: 0 done (or the session ended), 1 failure, 2 usage or no Wayland.
#include <glib-unix.h>
#include <signal.h>
#include <glib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Platform.h"
#include "tools/idle/Autostart.h"
#include "tools/idle/Idle_source.h"
#include "tools/idle/Mutter_idle.h"
#include "tools/idle/Saver_child.h"
#include "tools/idle/Wayland_idle.h"

namespace {

const char* const usage =
    "usage: gardenlume-idle [--after SECONDS] [--autostart | --no-autostart]\n"
    "  --after SECONDS  idle time before the garden shows (default 300)\n"
    "  --autostart      start it with the session (KDE Plasma, GNOME): writes ~/.config/autostart/gardenlume-idle.desktop\n"
    "  --no-autostart   removes that entry again\n";

enum class Action { run, autostart, no_autostart, help };

struct Options {
    Action action = Action::run;
    long after = 300;
    bool after_given = false;
    std::string problem;
};

// The switches, each once: the name and what it does.
struct Switch {
    const char* name;
    Action action;
};
const Switch switches[] = {
    {"--autostart", Action::autostart},
    {"--no-autostart", Action::no_autostart},
    {"--help", Action::help},
    {"-h", Action::help},
};

// A day is the longest idle time asked for; the protocols count milliseconds in 32 bits.
bool read_seconds(const char* text, long& seconds)
{
    char* end = nullptr;
    errno = 0;
    seconds = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && seconds >= 1 && seconds <= 86400;
}

Options read_options(int argc, char** argv)
{
    Options o;
    bool action_given = false;
    for (int i = 1; i < argc && o.problem.empty(); ++i) {
        const std::string arg = argv[i];
        if (arg == "--after") {
            if (i + 1 >= argc || !read_seconds(argv[++i], o.after))
                o.problem = "--after takes a whole number of seconds from 1 to 86400";
            o.after_given = true;
            continue;
        }
        const Switch* found = nullptr;
        for (const Switch& s : switches)
            if (arg == s.name) found = &s;
        if (!found)
            o.problem = "unknown argument: " + arg;
        else if (action_given && o.action != found->action)
            o.problem = "give one of --autostart, --no-autostart and --help";
        else {
            o.action = found->action;
            action_given = true;
        }
    }
    return o;
}

struct Session {
    GMainLoop* loop = nullptr;
    Wayland_idle* wayland = nullptr;
    Saver_child* garden = nullptr;
    guint garden_watch = 0;  // the source that hears the garden end
};

gboolean on_garden_ended(gint, GIOCondition, gpointer data)
{
    Session* s = static_cast<Session*>(data);
    if (!s->garden->reap()) return G_SOURCE_CONTINUE;
    s->garden_watch = 0;
    return G_SOURCE_REMOVE;
}

void stop_garden(Session* s)
{
    if (s->garden_watch) g_source_remove(s->garden_watch);
    s->garden_watch = 0;
    s->garden->stop();
}

void on_idle(void* data)
{
    Session* s = static_cast<Session*>(data);
    // A garden ended by Escape is collected here too, should its end have
    // gone unheard (a kernel without process descriptors).
    if (s->garden->reap() && s->garden_watch) {
        g_source_remove(s->garden_watch);
        s->garden_watch = 0;
    }
    if (s->garden->running() || !s->garden->start()) return;
    if (s->garden->exit_fd() >= 0)
        s->garden_watch = g_unix_fd_add(s->garden->exit_fd(), G_IO_IN, on_garden_ended, s);
}

void on_active(void* data) { stop_garden(static_cast<Session*>(data)); }

// The compositor's notices; the connection closing is the session's end.
gboolean on_wayland(gint, GIOCondition condition, gpointer data)
{
    Session* s = static_cast<Session*>(data);
    if ((condition & (G_IO_HUP | G_IO_ERR)) || !s->wayland->dispatch()) {
        g_main_loop_quit(s->loop);
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

gboolean on_signal(gpointer data)
{
    g_main_loop_quit(static_cast<Session*>(data)->loop);
    return G_SOURCE_CONTINUE;
}

int run(const Options& options)
{
    const char* named = std::getenv("WAYLAND_DISPLAY");
    Wayland_idle wayland;
    if ((!named || !*named) && !std::getenv("WAYLAND_SOCKET")) {
        std::fprintf(stderr, "gardenlume-idle: no Wayland session here (WAYLAND_DISPLAY is not set); on X11 "
                             "XScreenSaver shows the garden: run gardenlume-xscreensaver\n");
        return 2;
    }
    if (!wayland.connect()) {
        std::fprintf(stderr, "gardenlume-idle: no Wayland display %s to connect to; on X11 XScreenSaver shows the "
                             "garden: run gardenlume-xscreensaver\n", named ? named : "");
        return 2;
    }
    const std::string saver = Saver_child::find(Platform::executable_folder());
    if (saver.empty()) {
        std::fprintf(stderr, "gardenlume-idle: no gardenlume.scr beside it or in ../lib/gardenlume/ to show\n");
        return 1;
    }
    Saver_child garden(saver);
    Idle_source::Offered offered = wayland.offered();
    Mutter_idle mutter;
    // The session bus is asked only when the compositor itself says nothing.
    if (Idle_source::choose(offered) == Idle_source::Kind::none) offered.mutter_idle_monitor = mutter.present();
    const Idle_source::Kind kind = Idle_source::choose(offered);
    if (kind == Idle_source::Kind::none) {
        std::fprintf(stderr, "gardenlume-idle: this desktop tells no idle time: its compositor offers neither "
                             "ext-idle-notify-v1 nor org_kde_kwin_idle, and the session bus has no "
                             "org.gnome.Mutter.IdleMonitor\n");
        return 1;
    }

    Session session;
    session.loop = g_main_loop_new(nullptr, FALSE);
    session.wayland = &wayland;
    session.garden = &garden;
    Wayland_idle::Listener listener;
    listener.idle = on_idle;
    listener.active = on_active;
    listener.data = &session;
    const uint32_t timeout_ms = uint32_t(options.after) * 1000u;
    const bool watching = kind == Idle_source::Kind::mutter_idle_monitor ? mutter.watch(timeout_ms, listener)
                                                                         : wayland.watch(kind, timeout_ms, listener);
    if (!watching) {
        std::fprintf(stderr, "gardenlume-idle: %s refused to watch the idle time\n", Idle_source::name(kind));
        g_main_loop_unref(session.loop);
        return 1;
    }
    std::printf("gardenlume-idle: the garden shows after %ld s without input (%s)\n", options.after,
                Idle_source::name(kind));
    std::fflush(stdout);
    g_unix_fd_add(wayland.fd(), GIOCondition(G_IO_IN | G_IO_HUP | G_IO_ERR), on_wayland, &session);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) g_unix_signal_add(signal, on_signal, &session);
    g_main_loop_run(session.loop);
    stop_garden(&session);
    g_main_loop_unref(session.loop);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = read_options(argc, argv);
    if (!options.problem.empty()) {
        std::fprintf(stderr, "gardenlume-idle: %s\n%s", options.problem.c_str(), usage);
        return 2;
    }
    const std::string after = options.after_given ? "--after " + std::to_string(options.after) : std::string();
    switch (options.action) {
    case Action::help:
        std::fputs(usage, stdout);
        return 0;
    case Action::autostart:
        return Autostart::enable(Platform::executable_folder() + "gardenlume-idle", after);
    case Action::no_autostart:
        return Autostart::disable();
    case Action::run:
        break;
    }
    return run(options);
}
