#include "tests/support/Test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>

std::string Test_files::make_folder(const std::string& stem)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + stem + "XXXXXX";
    if (!mkdtemp(pattern.data())) return std::string();
    return pattern + "/";
}

void Test_files::remove_all(const std::string& path)
{
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
}

std::string Test_files::text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> Test_files::bytes(const std::string& path)
{
    const std::string t = text(path);
    return std::vector<uint8_t>(t.begin(), t.end());
}
