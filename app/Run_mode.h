// The run mode the host asks for, read from the whole command line: the
// character six places after its first full stop is the switch letter of
// "C:\dir\saver.scr /p" (p: Preview, c: Configure, anything else: Run).
#pragma once
#include <string>

enum class Run_mode { Preview, Run, Configure };

// Reads the process's command line (Platform::command_line()).
Run_mode read_run_mode();
// The rule on a given line. A line without a full stop, or one that ends
// before the sixth character after it, runs the saver.
Run_mode read_run_mode(const std::string& line);
