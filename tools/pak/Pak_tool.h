// The pak command: one function per subcommand (Pak_commands), all reached
// through one table of commands that also feeds the usage text. Every
// problem is one line on stderr naming the file and what was wrong; exit
// codes are 0 ok, 1 failure, 2 usage.
#pragma once

class Pak_tool {
public:
    static int run(int argc, char** argv);
};
