// ~/.xscreensaver read byte for byte as the XScreenSaver 6.06 daemon reads
// it, keeping where every setting lies in the bytes, so that an edit can
// change one setting and leave every other byte as it was. Quirks included:
// the daemon reads in chunks of about 1 KiB (a chunk that does not end a
// line is read on into); a line is joined to the next when the byte before
// the newline is a backslash, judged on everything gathered so far (so also
// at a chunk's edge, where it drops two bytes of the line, and at the end of
// a file without a newline); then "\n", "\t", "\r" and "\<c>" are escapes,
// and "key: value" is split at the first ':' (the key compared without
// case, the last one of a key wins); lines starting with '#', '!' or ';'
// are comments. Where a chunk's edge or a file's end drops bytes from
// inside a line the file reads otherwise than it looks, and no place in it
// can be trusted for an edit.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class Xscreensaver_file {
public:
    // One line of the text: bytes [begin, end), followed by a '\n' when
    // `terminated` (the last line of a file may have none).
    struct Line {
        size_t begin = 0;
        size_t end = 0;
        bool terminated = false;
    };
    struct Setting {
        std::string key;
        std::string value;       // escapes resolved, blanks stripped at both ends
        std::vector<size_t> at;  // the byte each character of value came from (an escape's backslash)
        size_t first_line = 0;   // the lines it spans, continuations included
        size_t last_line = 0;
        size_t colon = 0;        // the byte of the ':' that ends the key
        size_t value_begin = 0;  // the value's first byte; colon + 1 when it is empty
        // Before its blanks were stripped the value ended in a newline (as
        // an entry of programs: ends in "\n"), blanks after it aside.
        bool ends_in_newline = false;
    };
    // One entry of programs:, split and read as the daemon does:
    // [-] [visual:] ["name"] command.
    struct Hack {
        bool enabled = true;
        std::string visual;
        std::string name;
        std::string command;
        size_t begin = 0;  // its characters in the value: from its first one
        size_t end = 0;    // up to its '\n', or the value's end
        // The command's first word without its folder ("gardenlume").
        std::string program() const;
        bool operator==(const Hack& o) const
        {
            return enabled == o.enabled && visual == o.visual && name == o.name && command == o.command;
        }
    };

    explicit Xscreensaver_file(const std::string& text);

    const std::vector<Line>& lines() const { return line_list; }
    // Every setting in the order the daemon meets them, comments and
    // blanks left out.
    const std::vector<Setting>& all() const { return settings; }
    // The setting the daemon takes for `key`, or nullptr.
    const Setting* find(const char* key) const;
    // Whether no bytes were dropped from inside a line: the settings are
    // what the lines look like, and their places hold.
    bool reads_as_it_looks() const { return as_it_looks; }
    // What the lines of `text` say about going on: whether the line ends
    // in a backslash; whether it goes on in the next (always before a
    // newline, the daemon counting no backslashes there; on a last line
    // without one, only when no backslash before it makes the two an
    // escape); where its entries end, before that backslash.
    static bool ends_in_backslash(const std::string& text, const Line& line);
    static bool goes_on(const std::string& text, const Line& line);
    static size_t entries_end(const std::string& text, const Line& line);
    // Whether bytes [begin, end) are blanks and tabs only.
    static bool blank(const std::string& text, size_t begin, size_t end);
    // Whether `key` names that setting, compared as the daemon compares.
    static bool same_key(const std::string& key, const char* name);
    // The entries of a programs: value in the daemon's order; an entry's
    // place here is the number `selected:` gives it. Blank entries are none.
    static std::vector<Hack> hacks(const std::string& programs);

private:
    std::vector<Line> line_list;
    std::vector<Setting> settings;
    bool as_it_looks = true;
};
