// The test X server seen from outside (DISPLAY, set by the test script's
// one Xvfb): which top-level windows are mapped, keys and pointer motion
// through xdotool (XTEST, as a user would), and pictures of the root window.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class X_display {
public:
    // True when DISPLAY names a server that accepts a connection.
    static bool available();

    // The mapped (viewable) top-level windows, for telling new ones apart.
    static std::vector<unsigned long> mapped_windows();
    // How many there are on another server's connection (an Xlib Display*).
    static size_t mapped_windows_of(struct _XDisplay* display);
    // Waits until a mapped top-level window appears that is not in
    // `before`; true when one did.
    static bool wait_for_new_window(const std::vector<unsigned long>& before, int timeout_ms);

    // xdotool key <keysym>, e.g. "Escape", "a", "space".
    static bool key(const std::string& keysym);
    // Moves the pointer to (x, y) on the screen.
    static bool mouse_move(int x, int y);
    // Whether the pointer shows where it is now: a hidden pointer is one
    // whose picture (XFIXES) has no pixel that is not transparent.
    static bool pointer_shown();

    struct Picture {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rgb;  // rows top first, 3 bytes a pixel
        const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
        bool empty() const { return rgb.empty(); }

        struct Mean {
            double r = 0, g = 0, b = 0;
        };
        // The mean colour of the rectangle [x0, x1) x [y0, y1).
        Mean mean(int x0, int y0, int x1, int y1) const
        {
            Mean m;
            int n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const uint8_t* c = at(x, y);
                    m.r += c[0], m.g += c[1], m.b += c[2], ++n;
                }
            m.r /= n, m.g /= n, m.b /= n;
            return m;
        }
    };
    // The whole root window as the screen shows it now.
    static Picture grab();
    static bool save_png(const Picture& picture, const std::string& path);
};

// Skips the current test when there is no X server to drive.
#define REQUIRE_X()                                                         \
    do {                                                                    \
        if (!X_display::available()) GTEST_SKIP() << "no X display to drive"; \
    } while (0)
