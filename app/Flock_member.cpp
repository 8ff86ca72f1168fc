#include "app/Flock_member.h"

#include "app/Garden_placement.h"

namespace {
const int group = Garden_script::action_group;
const bool running = Garden_script::action_running;
const double endless = Garden_script::action_duration;
}  // namespace

Flock_member::Flock_member(const char* pack, const Flock_butterfly_values& values, Node& flock)
    : butterfly(pack, Garden_script::flock_butterfly.flap_offset, Garden_script::flock_butterfly.size,
                Garden_script::flock_butterfly.bobbing),
      sway_a(group, running, endless),
      sway_b(group, running, endless),
      rise(group, running, endless),
      swing(group, running, endless)
{
    place(butterfly, values.placement);
    sway_a.set(values.sway_a.axis, values.sway_a.frequency, values.sway_a.amplitude, values.sway_a.phase);
    sway_b.set(values.sway_b.axis, values.sway_b.frequency, values.sway_b.amplitude, values.sway_b.phase);
    rise.set(values.rise.axis, values.rise.frequency, values.rise.amplitude, values.rise.phase);
    swing.set(values.swing.axis, values.swing.frequency, values.swing.amplitude, values.swing.phase, 0);
    Action* const made[4] = {&sway_a, &sway_b, &rise, &swing};
    const int* order = values.bind_order;
    butterfly.events.bind_at_once({made[order[0]], made[order[1]], made[order[2]], made[order[3]]});
    flock.add_child(&butterfly);
}
