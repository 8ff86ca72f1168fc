// The run mode the host asks for: the first argument after the program path
// is the switch, "/p" or "-p" (Preview), "/c" or "/c:1234" (Configure), "/s"
// or any other letter (Run), in either case. Arguments that are not a
// switch, or none, run the saver here; the Windows build opens the settings
// instead, as Windows does for a screensaver opened without one.
#pragma once
#include <string>
#include <vector>

enum class Run_mode { Preview, Run, Configure };

// The mode a line without a switch gets on this system.
extern const Run_mode run_mode_without_switch;

// Reads the process's own arguments (Platform::arguments()).
Run_mode read_run_mode();
// The rule on the arguments after the program path.
Run_mode read_run_mode(const std::vector<std::string>& arguments);
// The rule on a whole command line, program path included, as Windows
// gives it: the path is skipped (quoted, or up to the first blank).
Run_mode read_run_mode(const std::string& line);
