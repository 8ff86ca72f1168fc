#include "actions/Action_rot.h"

#include "scene/Transform.h"

void Action_rot::set(int axis_code, double rate_per_second, double start)
{
    axis = axis_code;
    rate = rate_per_second;
    start_angle = start;
}

void Action_rot::step()
{
    double angle = start_angle + rate * elapsed / 1000.0;
    if (axis == 0) target->add_rotation(angle, 0, 0);
    else if (axis == 1) target->add_rotation(0, angle, 0);
    else if (axis == 2) target->add_rotation(0, 0, angle);
}
