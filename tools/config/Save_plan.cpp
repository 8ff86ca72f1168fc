#include "tools/config/Save_plan.h"

Save_plan::Step Save_plan::next(const Write_status& status, bool at_dialog)
{
    if (status.ok()) return Step::done;
    if (status.reason != Write_reason::not_permitted) return Step::fail;
    return at_dialog ? Step::ask_consent : Step::fail_with_remedy;
}

const char* Save_plan::remedy(bool consent_by_prompt)
{
    return consent_by_prompt ? "the settings are for all users: run config.exe as an administrator to change them"
                             : "the settings are for all users: run config.exe with sudo to change them";
}
