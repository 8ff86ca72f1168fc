#include "app/Frame.h"

#include <SDL.h>
#include <GL/gl.h>

#include "app/Roots.h"
#include "scene/Node.h"
#include "texgen/Texturegen_list.h"

void draw_frame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -100.0f);
    // The display starts with a clear alpha of 0; every later frame clears
    // to opaque black.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    texturegen_list.update_all();
    if (scene_root) scene_root->draw();
    if (overlay_root) overlay_root->draw();
    SDL_GL_SwapBuffers();
}
