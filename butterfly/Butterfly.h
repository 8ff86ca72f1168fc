// A ready-made animated butterfly: a body ("brushko") and two wings
// ("krilo") from one butterfly pack, the wings flapping on a shared random
// time offset and, if asked, the body bobbing.
#pragma once
#include <memory>

#include "actions/Action_rot_sin.h"
#include "actions/Action_sin.h"
#include "scene/Node.h"

// The next value of the standard generator modulo n (its bias accepted);
// 0 for an n of 0 or less.
int random_below(int n);

// The Node part is the root the scene places; it holds the body, which holds
// wing_b, then wing_a. Owns its three actions.
class Butterfly : public Node {
public:
    // omega = 14 + flap_offset radians per second drives flapping and
    // bobbing; size scales the body and each wing (not the root) and sets
    // the bobbing amplitude to 20 * size.
    Butterfly(const char* pack_file, double flap_offset, double size, bool bobbing);
    ~Butterfly();
    Butterfly(const Butterfly&) = delete;
    Butterfly& operator=(const Butterfly&) = delete;
    Butterfly(Butterfly&&) = delete;
    Butterfly& operator=(Butterfly&&) = delete;

    Node body;
    Node wing_a;
    Node wing_b;
    std::unique_ptr<Action_sin> bob;  // null without bobbing
    std::unique_ptr<Action_rot_sin> flap_a;
    std::unique_ptr<Action_rot_sin> flap_b;
};
