#include "tools/xscreensaver/Daemon_reading.h"

#include <cstddef>

#include "tools/xscreensaver/Xscreensaver_file.h"

namespace {

// The stdio of the daemon over the text: fgets(buf, n) gives at most n - 1
// bytes, ending after a newline; nothing at the end of the text.
class Chunks {
public:
    explicit Chunks(const std::string& text) : text(text) {}
    bool fgets(std::string& buf, size_t n)
    {
        if (at >= text.size()) return false;
        size_t take = 0;
        while (take + 1 < n && at + take < text.size())
            if (text[at + take++] == '\n') break;
        buf.append(text, at, take);
        at += take;
        return true;
    }

private:
    const std::string& text;
    size_t at = 0;
};

// One line as the daemon gathers it. Its buffer grows by 1 KiB each time it
// reads on and never shrinks, so the chunks of a line depend on the lines
// before it: `size` carries it from line to line.
bool gather(Chunks& in, size_t& size, std::string& buf)
{
    buf.clear();
    if (!in.fgets(buf, size - 1)) return false;
    size_t n = buf.size();
    while (n > 2 && (buf[n - 1] != '\n' || buf[n - 2] == '\\')) {
        // Two bytes go, whatever the last one is: a newline, or at a
        // chunk's edge a byte of the line.
        if (buf[n - 2] == '\\') buf.resize(n -= 2);
        size += 1024;
        if (!in.fgets(buf, size - n - 1)) break;
        n = buf.size();
    }
    return true;
}

// A backslash stands for the character after it, "n", "r" and "t" for
// their controls; one at the very end stands for nothing.
std::string unescape(const std::string& in)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out.push_back(in[i]);
            continue;
        }
        if (++i == in.size()) break;
        const char c = in[i];
        out.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c);
    }
    return out;
}

bool stripped(char c) { return c == '\t' || c == ' ' || c == '\r' || c == '\n'; }

std::string strip(const std::string& s, size_t begin, size_t end)
{
    while (begin < end && stripped(s[begin])) ++begin;
    while (end > begin && stripped(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

}  // namespace

Daemon_reading::Daemon_reading(const std::string& text)
{
    Chunks in(text);
    size_t size = 1024;
    std::string buf;
    while (gather(in, size, buf)) {
        // The text was refused before when it holds a NUL, so no line ends early.
        const std::string line = unescape(buf);
        const std::string key = strip(line, 0, line.size());
        if (key.empty() || key[0] == '#' || key[0] == '!' || key[0] == ';') continue;
        const size_t colon = key.find(':');
        if (colon == std::string::npos) continue;
        settings.emplace_back(key.substr(0, colon), strip(key, colon + 1, key.size()));
    }
}

const std::string* Daemon_reading::find(const char* key) const
{
    for (size_t i = settings.size(); i-- > 0;)
        if (Xscreensaver_file::same_key(settings[i].first, key)) return &settings[i].second;
    return nullptr;
}
