#include "app/Run_mode.h"

#include "platform/Platform.h"

Run_mode read_run_mode() { return read_run_mode(Platform::command_line()); }

Run_mode read_run_mode(const std::string& line)
{
    // Also a full stop in a folder name counts; the line is taken as it is.
    const size_t dot = line.find('.');
    if (dot == std::string::npos || line.size() - dot <= 6) return Run_mode::Run;
    switch (line[dot + 6]) {
    case 'P':
    case 'p':
        return Run_mode::Preview;
    case 'C':
    case 'c':
        return Run_mode::Configure;
    default:
        return Run_mode::Run;
    }
}
