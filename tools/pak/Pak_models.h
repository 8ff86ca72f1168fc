// Which pictures the models of a pack name, for the commands that take
// entries out: a picture still named by a model is not lost unsaid. A model
// is an entry, not a picture, that reads whole as one; procedural names
// (made by the saver, never entries) are left out.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

class Pak;
struct Pak_entry;

class Pak_models {
public:
    explicit Pak_models(const Pak& pak);

    static bool is_model(const Pak_entry& e);
    // The models, `except` left out, that name the picture, in pack order.
    std::vector<std::string> naming(const std::string& picture, const std::string& except = "") const;
    // The pictures the model names; none when it is no model.
    std::set<std::string> pictures_of(const std::string& model) const;

private:
    std::vector<std::pair<std::string, std::set<std::string>>> models;
};
