// Windows lends no X window: the hosted mode is an X11 one. Every window
// asked for is missing, so a hosted start ends with the "no window" message;
// --window (our own window) needs none of this.
#include "platform/Host_window.h"

bool Host_window::open(unsigned long id)
{
    window = id;
    return false;
}

void Host_window::close() {}

bool Host_window::size(int&, int&) { return false; }

void Host_window::lend_to_media_layer() {}

bool Host_window::still_there() { return false; }

void Host_window::catch_x_errors(void (*)()) {}

void Host_window::count_as_ours(unsigned long) {}

void Host_window::catch_lost_connection(void (*)()) {}

bool Host_window::gone() { return false; }
