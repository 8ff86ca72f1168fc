#include "app/Garden.h"

#include <GL/gl.h>

#include <initializer_list>
#include <iterator>

#include "app/Display.h"
#include "resources/Pack_names.h"

namespace {

// Every script action: group 1, running, endless.
const int group = 1;
const bool running = true;
const double endless = 0.0;

// Makes a script action in its slot, then sets it with the values given.
template <class Script_action, class... Values>
void start(std::optional<Script_action>& slot, Values... values)
{
    slot.emplace(group, running, endless);
    slot->set(values...);
}

// A new event with these actions, fired at once: binds them in this order.
void bind(Node& node, std::initializer_list<Action*> actions)
{
    node.events.add_event();
    for (Action* a : actions) node.events.add_action(a);
    node.events.fire_event(node.events.current);
}

}  // namespace

std::vector<std::string> Garden::packs()
{
    std::vector<std::string> all{Pack_names::main_pack};
    all.insert(all.end(), std::begin(Pack_names::butterfly_packs), std::end(Pack_names::butterfly_packs));
    return all;
}

const char* Garden::pick()
{
    return butterfly_packs[static_cast<size_t>(random_below(int(Pack_names::butterfly_pack_count)))].c_str();
}

// Each part is made whole, in the script's order: models load, random picks
// are drawn and clocks start as the objects are made.
Garden::Garden(Node& scene_root, Node& overlay_root)
{
    butterfly_packs.assign(std::begin(Pack_names::butterfly_packs), std::end(Pack_names::butterfly_packs));
    setup_lights();
    make_garden();
    make_butterfly_1();
    make_flock();
    make_butterfly_2();
    make_butterfly_3();
    make_butterfly_4();
    make_lights();
    make_background();

    // Lit between light_on and light_off: the flock, butterfly_1, the tree.
    garden->add_child(&*light_on);
    garden->add_child(&*flock);
    garden->add_child(&*butterfly_1);
    garden->add_child(&*tree);
    garden->add_child(&*light_off);

    scene_root.add_child(&*background);
    scene_root.add_child(&*garden);

    make_overlay(overlay_root);
}

void Garden::make_garden()
{
    garden.emplace();
    garden->placement.set_position(0, 0, -10);
    garden->placement.set_rotation(-30, 0, 0);
    start(garden_turn, 2, 7.0, 0.0);
    bind(*garden, {&*garden_turn});

    tree.emplace();
    tree->load_model(Pack_names::main_pack, Pack_names::tree);
    tree->placement.set_scale(2, 2, 2);
}

void Garden::make_butterfly_1()
{
    butterfly_1.emplace(pick(), -5.0, 0.2, false);
    butterfly_1->placement.set_position(0, -7, 21.5);
    butterfly_1->placement.set_rotation(45, 0, 90);
}

void Garden::make_flock()
{
    flock.emplace();
    start(flock_turn, 2, 30.0, 0.0);
    bind(*flock, {&*flock_turn});
}

void Garden::make_butterfly_2()
{
    butterfly_2.emplace(pick(), -1.0, 0.2, true);
    butterfly_2->placement.set_position(30, 0, 30);
    butterfly_2->placement.set_rotation(0, 0, 90);
    start(butterfly_2_sway_a, 2, 1.0, 4.0, 0.0);
    start(butterfly_2_sway_b, 2, 5.0, 3.0, 0.0);
    start(butterfly_2_rise, 1, 2.0, 3.0, 0.0);
    start(butterfly_2_swing, 2, 2.0, 6.0, 0.0, 0);
    // This one binds in a different order than it was made.
    bind(*butterfly_2, {&*butterfly_2_rise, &*butterfly_2_swing, &*butterfly_2_sway_a, &*butterfly_2_sway_b});
    flock->add_child(&*butterfly_2);
}

void Garden::make_butterfly_3()
{
    butterfly_3.emplace(pick(), -1.0, 0.2, true);
    butterfly_3->placement.set_position(-20, 20, 35);
    butterfly_3->placement.set_rotation(0, 0, -90);
    start(butterfly_3_sway_a, 2, 3.0, 4.0, 0.0);
    start(butterfly_3_sway_b, 2, 5.0, 4.0, 0.0);
    start(butterfly_3_rise, 1, 2.0, 4.0, 0.0);
    start(butterfly_3_swing, 2, 2.0, 8.0, 0.0, 0);
    bind(*butterfly_3, {&*butterfly_3_sway_a, &*butterfly_3_sway_b, &*butterfly_3_rise, &*butterfly_3_swing});
    flock->add_child(&*butterfly_3);
}

void Garden::make_butterfly_4()
{
    butterfly_4.emplace(pick(), -1.0, 0.2, true);
    butterfly_4->placement.set_position(-15, -15, 35);
    butterfly_4->placement.set_rotation(0, 0, -40);
    start(butterfly_4_sway_a, 2, 1.0, 5.0, 0.0);
    start(butterfly_4_sway_b, 2, 5.0, 4.0, 0.0);
    start(butterfly_4_rise, 1, 2.0, 4.0, 0.0);
    start(butterfly_4_swing, 2, 2.0, 6.0, 0.0, 0);
    bind(*butterfly_4, {&*butterfly_4_sway_a, &*butterfly_4_sway_b, &*butterfly_4_rise, &*butterfly_4_swing});
    flock->add_child(&*butterfly_4);
}

// The light is placed in the garden's frame, so it turns with the garden.
void Garden::make_lights()
{
    light_on.emplace();
    start(light_on_switch, true, GL_LIGHT1, 0.0f, 20.0f, 70.0f, 1.0f);
    bind(*light_on, {&*light_on_switch});

    light_off.emplace();
    start(light_off_switch, false, GL_LIGHT1, 0.0f, 0.0f, 0.0f, 0.0f);
    bind(*light_off, {&*light_off_switch});
}

void Garden::make_background()
{
    background.emplace();
    background->load_model(Pack_names::main_pack, Pack_names::background);
    background->placement.set_scale(4, 3, 3);
    background->placement.set_position(0, 0, -100);
    background->placement.set_rotation(0, 180, 180);
}

// The overlay stands in view only from 40 to 60 s of every minute.
void Garden::make_overlay(Node& overlay_root)
{
    overlay_root.load_model(Pack_names::main_pack, Pack_names::overlay);
    overlay_root.placement.set_scale(0.5, 0.5, 0.5);
    overlay_root.placement.set_rotation(0, 180, 180);
    start(overlay_window, 60000, 3, 3);
    bind(overlay_root, {&*overlay_window});
}
