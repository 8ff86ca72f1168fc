// What config.exe does once it knows how writing "cfg" went, or would go.
// An installation's settings are everyone's, and its folder is often an
// administrator's (Program Files, /usr/lib/gardenlume). The dialog then asks
// for an administrator's consent the standard way, Windows' elevation
// prompt; the command line never prompts, since scripts must not hang, and
// names the remedy instead.
//
//   switch (Save_plan::next(Cfg_file::write(path, record), at_dialog)) ...
#pragma once
#include "base/Write_status.h"

class Save_plan {
public:
    enum class Step {
        done,              // written
        ask_consent,       // the dialog starts config.exe elevated with the values
        fail_with_remedy,  // not this user's to change: the message says who may
        fail,              // anything else: the message says what went wrong
    };

    // `at_dialog`: a person at the settings dialog, on a system whose
    // administrators consent through a prompt.
    static Step next(const Write_status& status, bool at_dialog);
    // What someone who may not change the settings can do, for the end of
    // a message: by an elevation prompt ("as an administrator") or by sudo.
    static const char* remedy(bool consent_by_prompt);
};
