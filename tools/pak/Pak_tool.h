// The pak command: one function per subcommand, all reached through one
// table of commands that also feeds the usage text. Every problem is one
// line on stderr naming the file and what was wrong; exit codes are 0 ok,
// 1 failure, 2 usage.
#pragma once
#include <string>
#include <vector>

class Pak_tool {
public:
    static int run(int argc, char** argv);

    // The packs the saver opens and the entries it asks of each: what
    // `pak verify` checks.
    struct Required_pack {
        const char* pack;
        std::vector<const char*> entries;
    };
    static const std::vector<Required_pack>& required_packs();
};
