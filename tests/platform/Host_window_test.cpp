// Which X errors mean that a window of ours is gone: only those about our
// windows; every other error goes on to the handler that was there before.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "platform/Host_window.h"

namespace {

int errors_passed_on = 0;
int lost_calls = 0;

extern "C" int handler_before(Display*, XErrorEvent*)
{
    ++errors_passed_on;
    return 0;
}

void window_lost() { ++lost_calls; }

}  // namespace

TEST(Host_window, only_errors_about_our_windows_mean_gone_and_others_go_to_the_handler_before)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d) GTEST_SKIP() << "no X display";
    XSetErrorHandler(handler_before);
    Host_window::catch_x_errors(window_lost);
    Window other = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    Window ours = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    Host_window::count_as_ours(ours);
    XDestroyWindow(d, other);
    XDestroyWindow(d, ours);
    XSync(d, False);

    XMapWindow(d, other);  // an error of some other window: not ours to judge
    XSync(d, False);
    EXPECT_EQ(errors_passed_on, 1);
    EXPECT_FALSE(Host_window::gone());

    // The renderer's connection meets our window gone: the process must end
    // at once rather than go on with what the failed request left.
    XMapWindow(d, ours);
    XSync(d, False);
    EXPECT_EQ(errors_passed_on, 1);
    EXPECT_TRUE(Host_window::gone());
    EXPECT_EQ(lost_calls, 1);
    XCloseDisplay(d);
}
