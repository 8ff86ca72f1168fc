#include "app/Run_mode.h"

#include "platform/Command_line.h"
#include "platform/Platform.h"

#ifdef _WIN32
const Run_mode run_mode_without_switch = Run_mode::Configure;
#else
const Run_mode run_mode_without_switch = Run_mode::Run;
#endif

Run_mode read_run_mode() { return read_run_mode(Platform::arguments()); }

Run_mode read_run_mode(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) return run_mode_without_switch;
    const std::string& first = arguments[0];
    if (first.size() < 2 || (first[0] != '/' && first[0] != '-')) return run_mode_without_switch;
    switch (first[1]) {
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

Run_mode read_run_mode(const std::string& line)
{
    return read_run_mode(Command_line::split(Command_line::after_program(line)));
}
