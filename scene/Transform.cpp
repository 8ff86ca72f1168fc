#include "scene/Transform.h"

#include <cmath>

#include <GL/gl.h>

void Transform::set_position(double px, double py, double pz)
{
    x = px;
    y = py;
    z = pz;
}

void Transform::set_rotation(double ax, double ay, double az)
{
    rot_x = ax;
    rot_y = ay;
    rot_z = az;
}

void Transform::set_scale(double fx, double fy, double fz)
{
    scale_x = fx;
    scale_y = fy;
    scale_z = fz;
    scaled = true;
}

void Transform::add_position(double dx, double dy, double dz)
{
    x += dx;
    y += dy;
    z += dz;
}

void Transform::add_rotation(double dx, double dy, double dz)
{
    rot_x += dx;
    rot_y += dy;
    rot_z += dz;
}

void Transform::reset()
{
    set_position(0, 0, 0);
    set_rotation(0, 0, 0);
    scale_x = scale_y = scale_z = 1;
}

namespace {

// Endless turns grow without bound; a float keeps only whole degrees past
// 2^23 (days of running), so whole turns go in double before narrowing.
// fmod is exact, and the picture is the same turn.
float turn_angle(double degrees) { return static_cast<float>(std::fmod(degrees, 360.0)); }

}  // namespace

void Transform::apply_placement() const
{
    glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    if (rot_x != 0) glRotatef(turn_angle(rot_x), 1, 0, 0);
    if (rot_y != 0) glRotatef(turn_angle(rot_y), 0, 1, 0);
    if (rot_z != 0) glRotatef(turn_angle(rot_z), 0, 0, 1);
}

void Transform::apply_scale() const
{
    glScaled(scale_x, scale_y, scale_z);
}
