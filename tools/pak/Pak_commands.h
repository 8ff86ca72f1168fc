// The pak commands, one function each, grouped by what they do with a pack:
// Pak_read_commands.cpp (list, info, verify), Pak_write_commands.cpp
// (create, add, remove, extract), Pak_texgen_command.cpp, Obj_export.cpp and
// Obj_import.cpp (export-obj, import-obj). Each takes the arguments
// after its name and returns the exit code.
#pragma once
#include <string>
#include <vector>

class Pak_commands {
public:
    using Args = std::vector<std::string>;

    static int list(const Args& a);
    static int info(const Args& a);
    static int verify(const Args& a);
    static int create(const Args& a);
    static int add(const Args& a);
    static int extract(const Args& a);
    static int texgen(const Args& a);
    static int export_obj(const Args& a);
    static int import_obj(const Args& a);
    static int remove(const Args& a);

    // The arguments of the commands that check their own, for the usage.
    static const char* const export_obj_arguments;
    static const char* const import_obj_arguments;
};
