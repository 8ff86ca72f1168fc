#include "app/Garden.h"

#include <GL/gl.h>

#include <initializer_list>
#include <iterator>

#include "app/Display.h"

namespace {

// Every script action: group 1, running, endless.
const int group = 1;
const bool running = true;
const double endless = 0.0;

// A new event with these actions, fired at once: binds them in this order.
void bind(Node& node, std::initializer_list<Action*> actions)
{
    node.events.add_event();
    for (Action* a : actions) node.events.add_action(a);
    node.events.fire_event(node.events.current);
}

const char* const butterfly_pack_names[] = {"butterfly1.pak", "butterfly2.pak", "butterfly3.pak",
                                            "butterfly4.pak", "butterfly5.pak"};

}  // namespace

std::vector<std::string> Garden::packs()
{
    std::vector<std::string> all{"main.pak"};
    all.insert(all.end(), std::begin(butterfly_pack_names), std::end(butterfly_pack_names));
    return all;
}

const char* Garden::pick()
{
    return butterfly_packs[static_cast<size_t>(random_below(5))].c_str();
}

Garden::Garden(Node& scene_root, Node& overlay_root)
{
    butterfly_packs.assign(std::begin(butterfly_pack_names), std::end(butterfly_pack_names));
    setup_lights();

    garden.emplace();
    garden->placement.set_position(0, 0, -10);
    garden->placement.set_rotation(-30, 0, 0);
    garden_turn.emplace(group, running, endless);
    garden_turn->set(2, 7.0, 0.0);
    bind(*garden, {&*garden_turn});

    tree.emplace();
    tree->load_model("main.pak", "tree");
    tree->placement.set_scale(2, 2, 2);

    butterfly_1.emplace(pick(), -5.0, 0.2, false);
    butterfly_1->placement.set_position(0, -7, 21.5);
    butterfly_1->placement.set_rotation(45, 0, 90);

    flock.emplace();
    flock_turn.emplace(group, running, endless);
    flock_turn->set(2, 30.0, 0.0);
    bind(*flock, {&*flock_turn});

    butterfly_2.emplace(pick(), -1.0, 0.2, true);
    butterfly_2->placement.set_position(30, 0, 30);
    butterfly_2->placement.set_rotation(0, 0, 90);
    butterfly_2_sway_a.emplace(group, running, endless);
    butterfly_2_sway_a->set(2, 1.0, 4.0, 0.0);
    butterfly_2_sway_b.emplace(group, running, endless);
    butterfly_2_sway_b->set(2, 5.0, 3.0, 0.0);
    butterfly_2_rise.emplace(group, running, endless);
    butterfly_2_rise->set(1, 2.0, 3.0, 0.0);
    butterfly_2_swing.emplace(group, running, endless);
    butterfly_2_swing->set(2, 2.0, 6.0, 0.0, 0);
    // This one binds in a different order than it was made.
    bind(*butterfly_2, {&*butterfly_2_rise, &*butterfly_2_swing, &*butterfly_2_sway_a,
                        &*butterfly_2_sway_b});
    flock->add_child(&*butterfly_2);

    butterfly_3.emplace(pick(), -1.0, 0.2, true);
    butterfly_3->placement.set_position(-20, 20, 35);
    butterfly_3->placement.set_rotation(0, 0, -90);
    butterfly_3_sway_a.emplace(group, running, endless);
    butterfly_3_sway_a->set(2, 3.0, 4.0, 0.0);
    butterfly_3_sway_b.emplace(group, running, endless);
    butterfly_3_sway_b->set(2, 5.0, 4.0, 0.0);
    butterfly_3_rise.emplace(group, running, endless);
    butterfly_3_rise->set(1, 2.0, 4.0, 0.0);
    butterfly_3_swing.emplace(group, running, endless);
    butterfly_3_swing->set(2, 2.0, 8.0, 0.0, 0);
    bind(*butterfly_3, {&*butterfly_3_sway_a, &*butterfly_3_sway_b, &*butterfly_3_rise,
                        &*butterfly_3_swing});
    flock->add_child(&*butterfly_3);

    butterfly_4.emplace(pick(), -1.0, 0.2, true);
    butterfly_4->placement.set_position(-15, -15, 35);
    butterfly_4->placement.set_rotation(0, 0, -40);
    butterfly_4_sway_a.emplace(group, running, endless);
    butterfly_4_sway_a->set(2, 1.0, 5.0, 0.0);
    butterfly_4_sway_b.emplace(group, running, endless);
    butterfly_4_sway_b->set(2, 5.0, 4.0, 0.0);
    butterfly_4_rise.emplace(group, running, endless);
    butterfly_4_rise->set(1, 2.0, 4.0, 0.0);
    butterfly_4_swing.emplace(group, running, endless);
    butterfly_4_swing->set(2, 2.0, 6.0, 0.0, 0);
    bind(*butterfly_4, {&*butterfly_4_sway_a, &*butterfly_4_sway_b, &*butterfly_4_rise,
                        &*butterfly_4_swing});
    flock->add_child(&*butterfly_4);

    // The light is placed in the garden's frame, so it turns with the garden.
    light_on.emplace();
    light_on_switch.emplace(group, running, endless);
    light_on_switch->set(true, GL_LIGHT1, 0.0f, 20.0f, 70.0f, 1.0f);
    bind(*light_on, {&*light_on_switch});

    light_off.emplace();
    light_off_switch.emplace(group, running, endless);
    light_off_switch->set(false, GL_LIGHT1, 0.0f, 0.0f, 0.0f, 0.0f);
    bind(*light_off, {&*light_off_switch});

    background.emplace();
    background->load_model("main.pak", "fon");
    background->placement.set_scale(4, 3, 3);
    background->placement.set_position(0, 0, -100);
    background->placement.set_rotation(0, 180, 180);

    // Lit between light_on and light_off: the flock, butterfly_1, the tree.
    garden->add_child(&*light_on);
    garden->add_child(&*flock);
    garden->add_child(&*butterfly_1);
    garden->add_child(&*tree);
    garden->add_child(&*light_off);

    scene_root.add_child(&*background);
    scene_root.add_child(&*garden);

    // The overlay stands in view only from 40 to 60 s of every minute.
    overlay_root.load_model("main.pak", "nn");
    overlay_root.placement.set_scale(0.5, 0.5, 0.5);
    overlay_root.placement.set_rotation(0, 180, 180);
    overlay_window.emplace(group, running, endless);
    overlay_window->set(60000, 3, 3);
    bind(overlay_root, {&*overlay_window});
}
