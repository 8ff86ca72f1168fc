#include "butterfly/Butterfly.h"

#include "resources/Pack_names.h"
#include <cstdlib>

namespace {

// 90 / 3.14 in double precision: the opposite wing's phase (not pi) and the
// bob's phase.
const double wing_phase = 28.662420382165603;

}  // namespace

int random_below(int n)
{
    if (n <= 0) return 0;  // no range to draw from; never a division by zero
    return std::rand() % n;
}

Butterfly::Butterfly(const char* pack_file, double flap_offset, double size, bool bobbing)
{
    double omega = 14.0 + flap_offset;

    wing_a.load_model(pack_file, Pack_names::wing);
    wing_a.placement.set_scale(size, size, size);
    wing_a.placement.set_rotation(25.0, 0.0, 0.0);

    // One time offset for both wings, so they beat together.
    int t0 = random_below(2000);

    flap_a.reset(new Action_rot_sin(1, true, 0.0));
    flap_a->set(0, omega, 50.0, 0.0, t0);
    wing_a.events.bind_at_once({flap_a.get()});

    wing_b.load_model(pack_file, Pack_names::wing);
    wing_b.placement.set_rotation(145.0, 0.0, 0.0);
    wing_b.placement.set_scale(size, size, size);

    flap_b.reset(new Action_rot_sin(1, true, 0.0));
    flap_b->set(0, omega, 50.0, wing_phase, t0);
    wing_b.events.bind_at_once({flap_b.get()});

    body.load_model(pack_file, Pack_names::body);
    body.placement.set_scale(size, size, size);

    if (bobbing) {
        bob.reset(new Action_sin(1, true, 0.0));
        bob->set(2, omega, 20.0 * size, wing_phase);
        body.events.bind_at_once({bob.get()});
    }

    body.add_child(&wing_b);
    body.add_child(&wing_a);
    add_child(&body);
}

Butterfly::~Butterfly()
{
    // The actions go first, in the order bob, flap_a, flap_b; the member
    // Nodes follow in reverse (wing_b, wing_a, body), then the root.
    bob.reset();
    flap_a.reset();
    flap_b.reset();
}
