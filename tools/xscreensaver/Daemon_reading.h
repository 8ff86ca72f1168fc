// ~/.xscreensaver read byte for byte as the XScreenSaver 6.06 daemon reads
// it, quirks included: it reads in chunks of about 1 KiB (a chunk that does
// not end a line is read on into), a line is joined to the next when the
// byte before the newline is a backslash, judged on everything gathered so
// far (so also at a chunk's edge, where it drops two bytes of the line, and
// at the end of a file without a newline), then "\n", "\r", "\t" and
// "\<c>" are escapes, and "key: value" is split at the first ':'. This is
// the judge of an edit: what the daemon will take, not what the text looks
// like.
#pragma once
#include <string>
#include <utility>
#include <vector>

class Daemon_reading {
public:
    using Setting = std::pair<std::string, std::string>;  // key (as written), value

    explicit Daemon_reading(const std::string& text);

    // Every setting in the order the daemon meets them.
    const std::vector<Setting>& all() const { return settings; }
    // The value the daemon takes for `key` (the last one, the key compared
    // without case), or nullptr.
    const std::string* find(const char* key) const;

private:
    std::vector<Setting> settings;
};
