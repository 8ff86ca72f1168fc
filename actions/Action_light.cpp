#include "actions/Action_light.h"

#include <GL/gl.h>

void Action_light::set(bool switch_on, int which, float x, float y, float z, float w)
{
    on = switch_on;
    light = which;
    position[0] = x;
    position[1] = y;
    position[2] = z;
    position[3] = w;
}

void Action_light::step()
{
    GLenum l = static_cast<GLenum>(light);
    glLightfv(l, GL_POSITION, position);
    if (on) {
        glEnable(GL_LIGHTING);
        glEnable(l);
    } else {
        glDisable(l);
        glDisable(GL_LIGHTING);
    }
}
