// A window as a screensaver host makes one for its hack (a preview pane, the
// daemon's full-screen window): a plain mapped top-level window at the
// screen's top-left corner, on the test's own X connection, that the test
// resizes and destroys under the saver drawing into it.
#pragma once
#include <string>

class Host_test_window {
public:
    Host_test_window(int width, int height);
    ~Host_test_window();
    Host_test_window(const Host_test_window&) = delete;
    Host_test_window& operator=(const Host_test_window&) = delete;

    bool ok() const { return window != 0; }
    unsigned long id() const { return window; }
    std::string hex_id() const;  // "0x..." as hosts pass it
    void resize(int width, int height);
    // True when this client can grab keyboard and pointer, that is when no
    // other client (the saver under test) holds them; released at once.
    bool can_grab_input();
    void destroy();

private:
    void* display = nullptr;
    unsigned long window = 0;
};
