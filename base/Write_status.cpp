#include "base/Write_status.h"

const char* text(Write_reason reason)
{
    switch (reason) {
    case Write_reason::ok: return "written";
    case Write_reason::is_symbolic_link: return "is a symbolic link, not replaced";
    case Write_reason::is_reparse_point: return "is a link (reparse point), not replaced";
    case Write_reason::is_folder: return "is a folder, not replaced";
    case Write_reason::not_regular: return "is not a regular file, not replaced";
    case Write_reason::cannot_create_beside: return "cannot create a file beside it";
    case Write_reason::not_permitted: return "may not be changed by this user";
    case Write_reason::cannot_write: return "cannot be written";
    case Write_reason::cannot_replace: return "cannot be replaced";
    case Write_reason::outside_folder: return "would land outside the folder";
    case Write_reason::meets_symbolic_link: return "meets a symbolic link";
    case Write_reason::repeated_name: return "skipped: an earlier entry has the same name";
    case Write_reason::entry_not_stored: return "cannot be stored";
    }
    return "cannot be written";
}

std::string Write_status::text() const
{
    const std::string words = ::text(reason);
    return detail.empty() ? words : words + ": " + detail;
}
