// A window the screensaver host lends us, seen through our own connection
// to the X server: its real size, which the host may change at any time,
// and whether it is still there. Also the quiet ending a hosted saver owes
// its host when the window or the server goes away under it. Windows has no
// such host: there every window asked for is missing.
#pragma once
#include <string>

class Host_window {
public:
    Host_window() = default;
    ~Host_window() { close(); }
    Host_window(const Host_window&) = delete;
    Host_window& operator=(const Host_window&) = delete;

    // Connects to the X server of DISPLAY and finds `window`; 0 names the
    // root window of the default screen. False when either is not there
    // (with catch_x_errors in place, a window that is not there is only a
    // false, not an X error).
    bool open(unsigned long window);
    // After open: whether the X server answered, so that a false open
    // means the window is not there rather than no server at all.
    bool server_answered() const { return answered; }
    void close();
    unsigned long id() const { return window; }

    // The window's size now; false once it is gone. The window we draw
    // into, when it is our own (below), is brought to the same size.
    bool size(int& width, int& height);
    // Reads what the server has told our connection so far, without
    // waiting: false once the lent window or our child in it is destroyed.
    // Asked right before each frame, so that no frame starts on a window
    // already gone.
    bool still_there();

    // Has the media layer draw into the window instead of opening its own
    // (read once when the media layer starts). On X11 it draws into a child
    // window of ours that covers the lent one, made with a GL visual that
    // has a depth buffer and no stencil, when the screen offers one: a lent
    // window's visual often has a packed depth-stencil buffer, and clearing
    // its depth alone makes a software renderer read and rewrite every pixel.
    // The child selects no input, so the host gets every event as before.
    void lend_to_media_layer();

    // From now on an X error about one of our windows (the lent one, our
    // child in it, any named by count_as_ours) is taken for the window
    // going away: it is not printed, and gone() turns true. Met by the
    // renderer's own requests, it calls `window_lost` at once, which must
    // end the process: the renderer would go on with whatever the failed
    // request left (Mesa's software renderer then sizes its buffers from
    // uninitialised numbers). Any other error goes to the handler that
    // was there before. A lost connection calls `window_lost` too (Xlib
    // ends the process with 1 when the handler returns).
    static void catch_x_errors(void (*window_lost)());
    static void count_as_ours(unsigned long window);
    static bool gone();
    // A lost connection to the X server calls `connection_lost`, which must
    // end the process at once: every connection is gone with it, and
    // nothing may talk to them again (no destructor, no second message).
    static void catch_lost_connection(void (*connection_lost)());

private:
    void* display = nullptr;  // our own Display*, apart from the media layer's
    unsigned long window = 0;
    bool answered = false;
    unsigned long drawn = 0;  // our child window the media layer draws into; 0: none
    int drawn_width = 0, drawn_height = 0;
};
