// What config.exe's command line asks for: the options table, read into
// the changes to make (or the table of modes to print), and the usage lines
// that the same table gives.
//
//   Config_request request;
//   if (!Config_request::parse(argc, argv, request, problem)) ... exit 2
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

struct Config_request {
    bool list_modes = false;
    bool set_mode = false;
    int32_t mode = 0;
    bool set_mouse = false;
    uint8_t mouse_exit = 0;
    bool reset = false;

    // Whether "cfg" is to be written (a change, or a fresh file).
    bool changes() const { return set_mode || set_mouse || reset; }

    // Fills `request` from argv[1] on; false with a one-line problem for bad
    // arguments.
    static bool parse(int argc, char** argv, Config_request& request, std::string& problem);
    static void print_usage(FILE* out);
};
