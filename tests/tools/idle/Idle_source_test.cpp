// Which source gardenlume-idle listens to, from what the session offers.
#include <gtest/gtest.h>

#include "tools/idle/Idle_source.h"

namespace {

using Kind = Idle_source::Kind;

struct Row {
    const char* session;
    bool ext_idle_notify, kde_idle, seat, mutter_idle_monitor;
    Kind expected;
};

const Row rows[] = {
    {"sway 1.8, Hyprland: the standard protocol", true, false, true, false, Kind::ext_idle_notify},
    {"sway 1.7: KDE's protocol only", false, true, true, false, Kind::kde_idle},
    {"KDE Plasma 5.27: both, the standard one wins", true, true, true, false, Kind::ext_idle_notify},
    {"GNOME: no protocol, Mutter on the bus", false, false, true, true, Kind::mutter_idle_monitor},
    {"a protocol beside Mutter: the compositor's own word", false, true, true, true, Kind::kde_idle},
    {"protocols but no seat to watch: Mutter", true, true, false, true, Kind::mutter_idle_monitor},
    {"protocols but no seat, no D-Bus", true, true, false, false, Kind::none},
    {"nothing offered", false, false, true, false, Kind::none},
};

TEST(Idle_source, chooses_what_the_session_offers)
{
    for (const Row& r : rows) {
        Idle_source::Offered o;
        o.ext_idle_notify = r.ext_idle_notify;
        o.kde_idle = r.kde_idle;
        o.seat = r.seat;
        o.mutter_idle_monitor = r.mutter_idle_monitor;
        EXPECT_EQ(Idle_source::choose(o), r.expected) << r.session;
    }
}

}  // namespace
