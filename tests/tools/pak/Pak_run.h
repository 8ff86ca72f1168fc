// The real pak run from outside: its exit code and what it said on stderr
// and stdout.
#pragma once
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/Saver_process.h"

struct Pak_run {
    int code;
    std::string err;
    std::string out = {};
};

inline Pak_run pak(const std::vector<std::string>& args)
{
    Saver_process p;
    if (!p.start(GARDENLUME_BIN_DIR "/pak", args) || !p.wait(60000)) return {-1, "did not run"};
    return {p.exit_code(), p.stderr_text(), p.stdout_text()};
}

inline void write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
