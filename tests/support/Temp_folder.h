// A temporary folder for one test, removed with everything in it when the
// test is done.
#pragma once
#include <string>

#include "tests/support/Test_files.h"

class Temp_folder {
public:
    explicit Temp_folder(const std::string& stem = "gardenlume_") : path(Test_files::make_folder(stem)) {}
    ~Temp_folder() { Test_files::remove_all(path); }
    Temp_folder(const Temp_folder&) = delete;
    Temp_folder& operator=(const Temp_folder&) = delete;

    std::string operator/(const std::string& name) const { return path + name; }

    const std::string path;  // ends with "/"; empty when it could not be made
};
