#include "app/Run_mode.h"

#include "platform/Command_line.h"
#include "platform/Platform.h"

const Run_mode run_mode_without_switch =
    Platform::settings_without_switch() ? Run_mode::Configure : Run_mode::Run;

Run_mode read_run_mode() { return read_run_mode(Platform::arguments()); }

Run_mode read_run_mode(const std::vector<std::string>& arguments)
{
    switch (Command_line::host_switch(arguments).letter) {
    case 0:
        return run_mode_without_switch;
    case 'p':
        return Run_mode::Preview;
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
