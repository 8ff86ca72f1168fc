// X11: the media layer's own full screen shows the desktop mode.
#include "platform/Desktop_window.h"

bool Desktop_window::needed() { return false; }

bool Desktop_window::place(uintptr_t, const Monitor_list::Area&) { return false; }
