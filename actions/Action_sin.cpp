#include "actions/Action_sin.h"

#include <cmath>

#include "scene/Transform.h"

void Action_sin::set(int axis_code, double omega, double size, double start_phase)
{
    axis = axis_code;
    frequency = omega;
    amplitude = size;
    phase = start_phase;
}

void Action_sin::step()
{
    double v = amplitude * std::sin(phase + frequency * elapsed / 1000.0);
    if (axis == 0) target->add_position(v, 0, 0);
    else if (axis == 1) target->add_position(0, v, 0);
    else if (axis == 2) target->add_position(0, 0, v);
}
