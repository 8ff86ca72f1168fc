#include "Art_pack.h"

#include "resources/Pak.h"

void Art_pack::add(const std::string& name, std::vector<uint8_t> data)
{
    names.push_back(name);
    blocks.push_back(std::move(data));
}

const std::vector<uint8_t>& Art_pack::entry(const std::string& name) const
{
    static const std::vector<uint8_t> none;
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return blocks[i];
    return none;
}

Write_status Art_pack::save(const std::string& path) const
{
    Pak pak;
    for (size_t i = 0; i < names.size(); ++i)
        if (!pak.add_data(names[i], blocks[i].data(), int32_t(blocks[i].size())))
            return Write_status::failed(Write_reason::entry_not_stored, "entry \"" + names[i] + "\"");
    return pak.save(path);
}
