#include "app/Garden.h"

#include <GL/gl.h>

#include <iterator>
#include <string>

#include "app/Display.h"
#include "app/Garden_placement.h"
#include "resources/Background_fit.h"
#include "resources/Pack_names.h"
#include "resources/Pak.h"
#include "resources/Pak_cache.h"

namespace {

// Makes a script action in its slot, then sets it with the values given.
template <class Script_action, class... Values>
Script_action& start(std::optional<Script_action>& slot, Values... values)
{
    slot.emplace(Garden_script::action_group, Garden_script::action_running, Garden_script::action_duration);
    slot->set(values...);
    return *slot;
}

void turn(Scripted_node<Action_rot>& n, const Turn_values& t) { n.start(t.axis, t.rate, t.start); }

void switch_light(Scripted_node<Action_light>& n, bool on, const float* p)
{
    n.start(on, GL_LIGHT1, p[0], p[1], p[2], p[3]);
}

// The background cut round the shipped lawn when the pack holds one for its
// very tree and background, else the whole one: a tree of one's own must
// not stand over a hole in the sky.
std::string background_entry()
{
    const Pak* pak = pak_cache.open(Pack_names::main_pack);
    const std::string cut = Background_fit::cut_name(pak->find(Pack_names::tree), pak->find(Pack_names::background));
    const bool fits = !pak->find(cut).empty();
    pak_cache.release(Pack_names::main_pack);  // the tree holds it open
    return fits ? cut : Pack_names::background;
}

}  // namespace

std::vector<Pak_prefetch::Pack> Garden::packs()
{
    using P = Pack_names;
    std::vector<Pak_prefetch::Pack> all{{P::main_pack, {std::begin(P::main_entries), std::end(P::main_entries)}}};
    for (const char* pack : P::butterfly_packs)
        all.push_back({pack, {std::begin(P::butterfly_entries), std::end(P::butterfly_entries)}});
    return all;
}

const char* Garden::pick()
{
    return butterfly_packs[static_cast<size_t>(random_below(int(Pack_names::butterfly_pack_count)))].c_str();
}

// Each object is made whole, in the script's order: models load, random
// picks are drawn and clocks start as the objects are made.
Garden::Garden(Node& scene_root, Node& overlay_root)
{
    using S = Garden_script;
    butterfly_packs.assign(std::begin(Pack_names::butterfly_packs), std::end(Pack_names::butterfly_packs));
    setup_lights();

    place(garden.emplace().node, S::garden);
    turn(*garden, S::garden_turn);
    tree.emplace().load_model(Pack_names::main_pack, Pack_names::tree);
    place(*tree, S::tree);

    butterfly_1.emplace(pick(), S::lone_butterfly.flap_offset, S::lone_butterfly.size, S::lone_butterfly.bobbing);
    place(*butterfly_1, S::lone_butterfly_placement);

    turn(flock.emplace(), S::flock_turn);
    for (int i = 0; i < S::flock_size; ++i) flock_members[i].emplace(pick(), S::flock[i], flock->node);

    // The light is placed in the garden's frame, so it turns with the garden.
    const float off[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    switch_light(light_on.emplace(), true, S::light_position);
    switch_light(light_off.emplace(), false, off);

    background.emplace().load_model(Pack_names::main_pack, background_entry().c_str());
    place(*background, S::background);

    // Lit between light_on and light_off: the flock, the lone butterfly, the tree.
    for (Node* lit : {&light_on->node, &flock->node, static_cast<Node*>(&*butterfly_1), &*tree, &light_off->node})
        garden->node.add_child(lit);
    scene_root.add_child(&*background);
    scene_root.add_child(&garden->node);

    // The overlay stands in view only from 40 to 60 s of every minute.
    overlay_root.load_model(Pack_names::main_pack, Pack_names::overlay);
    place(overlay_root, S::overlay);
    overlay_root.events.bind_at_once(
        {&start(overlay_window, int(S::overlay_period_ms), int(S::overlay_slots), int(S::overlay_slot))});
}
