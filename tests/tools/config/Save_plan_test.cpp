// What config.exe does after writing "cfg": done, ask an administrator
// (the dialog only), or fail, naming the remedy when rights were missing.
#include <gtest/gtest.h>

#include <string>

#include "tools/config/Save_plan.h"

TEST(Save_plan, missing_rights_ask_for_consent_at_the_dialog_and_name_the_remedy_on_the_command_line)
{
    using Step = Save_plan::Step;
    const struct {
        Write_reason reason;
        bool at_dialog;
        Step step;
    } table[] = {
        {Write_reason::ok, true, Step::done},
        {Write_reason::ok, false, Step::done},
        {Write_reason::not_permitted, true, Step::ask_consent},
        {Write_reason::not_permitted, false, Step::fail_with_remedy},
        // No administrator helps a full disk, a link or a missing folder.
        {Write_reason::cannot_create_beside, true, Step::fail},
        {Write_reason::cannot_write, true, Step::fail},
        {Write_reason::cannot_replace, false, Step::fail},
        {Write_reason::is_reparse_point, true, Step::fail},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::string(text(row.reason)) + (row.at_dialog ? ", at the dialog" : ", command line"));
        EXPECT_EQ(Save_plan::next(Write_status::failed(row.reason, "detail"), row.at_dialog), row.step);
    }
    EXPECT_NE(std::string(Save_plan::remedy(true)).find("as an administrator"), std::string::npos);
    EXPECT_NE(std::string(Save_plan::remedy(false)).find("with sudo"), std::string::npos);
}
