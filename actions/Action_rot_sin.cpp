#include "actions/Action_rot_sin.h"

#include <cmath>

#include "scene/Transform.h"

void Action_rot_sin::set(int axis_code, double omega, double size, double start_phase, int offset_ms)
{
    axis = axis_code;
    frequency = omega;
    amplitude = size;
    phase = start_phase;
    time_offset = offset_ms;
}

void Action_rot_sin::step()
{
    double t = static_cast<double>(time_offset) + elapsed;
    double angle = amplitude * std::sin(phase + frequency * t / 1000.0);
    if (axis == 0) target->add_rotation(angle, 0, 0);
    else if (axis == 1) target->add_rotation(0, angle, 0);
    else if (axis == 2) target->add_rotation(0, 0, angle);
}
