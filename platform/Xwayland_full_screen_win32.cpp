// Windows has no XWayland: its full screen is the desktop window's.
#include "platform/Xwayland_full_screen.h"

bool Xwayland_full_screen::active() { return false; }

bool Xwayland_full_screen::take(uintptr_t, const std::vector<Monitor_list::Area>&) { return false; }

bool Xwayland_full_screen::centre(int, int, Monitor_views::View&, Monitor_list::Area&) { return false; }
