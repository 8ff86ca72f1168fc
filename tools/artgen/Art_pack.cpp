#include "Art_pack.h"

#include "resources/Pak.h"

void Art_pack::add(const std::string& name, std::vector<uint8_t> data)
{
    names.push_back(name);
    blocks.push_back(std::move(data));
}

bool Art_pack::save(const std::string& path, std::string& problem) const
{
    Pak pak;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!pak.add_data(names[i], blocks[i].data(), int32_t(blocks[i].size()))) {
            problem = path + ": entry \"" + names[i] + "\" cannot be stored";
            return false;
        }
    }
    if (!pak.save(path)) {
        problem = path + ": cannot write the pack";
        return false;
    }
    return true;
}
