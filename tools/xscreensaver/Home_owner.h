// Who the command works as. Run as root for a home another user owns (su
// without "-", sudo -E), it becomes that user before it opens anything of
// theirs, so that a link they plant can never hand them a file of root's;
// and a ~/.xscreensaver that is a link is followed only to a regular file
// of the user it works as (a dotfile manager's link).
#pragma once
#include <string>

class Home_owner {
public:
    // Becomes the owner of `home` (their groups, their group, their user,
    // for good) when run as root and `home` is not root's. False with the
    // reason when that cannot be done.
    static bool become(const std::string& home, std::string& why);
    // Where the link at `path` leads, in `target`: a file this user owns,
    // seen as regular when it was looked at. Otherwise false, with `why`:
    // what the link leads to and what to do instead.
    static bool follow(const std::string& path, std::string& target, std::string& why);
    // The user's name, or their number when they have none.
    static std::string name(unsigned uid);
};
