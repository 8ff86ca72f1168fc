// The media layer's window as the window system names it: an HWND on
// Windows, the X window drawn into on X11; 0 before the screen is open. For
// the few things SDL 1.2 cannot do itself. (Apart from Display: X11's
// headers, which SDL's window information brings in, name a type Display.)
#pragma once
#include <cstdint>

class Media_window {
public:
    static uintptr_t handle();
};
